#include "CXmlAtomicFile.h"

#include "CXmlTestSeam.h"
#include "ComError.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {
constexpr qsizetype kChunkSize = 64 * 1024;

// Removes the temporary file unless it was renamed into place.
class TemporaryFileGuard
{
public:
    TemporaryFileGuard() = default;
    TemporaryFileGuard(const TemporaryFileGuard&) = delete;
    TemporaryFileGuard& operator=(const TemporaryFileGuard&) = delete;
    ~TemporaryFileGuard()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_path.isEmpty())
            ::unlink(m_path.constData());
    }

    int m_fd = -1;
    QByteArray m_path;
};

QByteArray RandomSuffix()
{
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray suffix(6, '\0');
    for (char& letter : suffix)
        letter = kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)];
    return suffix;
}

void WriteAll(int fd, const char* data, qsizetype size, const QString& subject)
{
    const qint64 failAfter = CXmlTestSeam::GetFailures().saveFailsAfterBytes;
    qsizetype written = 0;
    while (written < size) {
        qsizetype chunk = std::min(size - written, kChunkSize);
        if (failAfter >= 0) {
            if (written >= failAfter)
                throw xml::_com_error::FromErrno(ENOSPC, subject);
            chunk = std::min<qsizetype>(chunk, qsizetype(failAfter) - written);
        }
        const ssize_t count = ::write(fd, data + written, std::size_t(chunk));
        if (count < 0) {
            if (errno == EINTR)
                continue;
            throw xml::_com_error::FromErrno(errno, subject);
        }
        written += count;
    }
}
} // namespace

void CXmlAtomicFile::Write(const QString& path, const char* data, qsizetype size)
{
    // Through a symbolic link the file it names is replaced, not the link.
    QString target = path;
    const QFileInfo info(path);
    if (info.isSymLink() && !info.canonicalFilePath().isEmpty())
        target = info.canonicalFilePath();
    const QByteArray nativeTarget = QFile::encodeName(target);

    struct stat existing = {};
    const bool exists = ::stat(nativeTarget.constData(), &existing) == 0;
    if (!exists && errno != ENOENT)
        throw xml::_com_error::FromErrno(errno, target);
    if (exists) {
        if (!S_ISREG(existing.st_mode))
            throw xml::_com_error(xml::E_INVALIDARG,
                                  QStringLiteral("%1 is not a regular file").arg(target));
        // The rename would replace a file that may not be written; refuse as writing would.
        const int probe = ::open(nativeTarget.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (probe < 0)
            throw xml::_com_error::FromErrno(errno, QStringLiteral("Cannot write %1").arg(target));
        ::close(probe);
    }

    TemporaryFileGuard temporary;
    const QString directory = QFileInfo(target).absolutePath();
    for (int attempt = 0; temporary.m_fd < 0; ++attempt) {
        QByteArray candidate = nativeTarget + ".tmp" + RandomSuffix();
        temporary.m_fd = ::open(candidate.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                                exists ? 0600 : 0666);
        if (temporary.m_fd >= 0)
            temporary.m_path = candidate;
        else if (errno != EEXIST || attempt == 100)
            throw xml::_com_error::FromErrno(
                errno, QStringLiteral("Cannot create a temporary file in %1").arg(directory));
    }
    const QString temporaryName = QFile::decodeName(temporary.m_path);

    WriteAll(temporary.m_fd, data, size, QStringLiteral("Cannot write %1").arg(temporaryName));
    if (::fsync(temporary.m_fd) != 0)
        throw xml::_com_error::FromErrno(errno,
                                         QStringLiteral("Cannot flush %1").arg(temporaryName));
    if (exists) {
        // Only a privileged process can give the file back to its owner; others own it anyway.
        [[maybe_unused]] const int owned =
            ::fchown(temporary.m_fd, existing.st_uid, existing.st_gid);
        if (::fchmod(temporary.m_fd, existing.st_mode & 07777) != 0)
            throw xml::_com_error::FromErrno(
                errno, QStringLiteral("Cannot set the permissions of %1").arg(temporaryName));
    }
    const int fd = std::exchange(temporary.m_fd, -1);
    if (::close(fd) != 0)
        throw xml::_com_error::FromErrno(errno,
                                         QStringLiteral("Cannot flush %1").arg(temporaryName));
    if (::rename(temporary.m_path.constData(), nativeTarget.constData()) != 0)
        throw xml::_com_error::FromErrno(errno, QStringLiteral("Cannot replace %1").arg(target));
    temporary.m_path.clear();

    // The rename itself is durable only once the directory is synced; the new content is
    // complete either way, so a failure here is not worth reporting.
    const int directoryFd =
        ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directoryFd >= 0) {
        ::fsync(directoryFd);
        ::close(directoryFd);
    }
}
