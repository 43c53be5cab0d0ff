// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CXmlAtomicFile.h"

#include "CXmlTestSeam.h"
#include "ComError.h"
#include "platform/files/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QScopeGuard>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {
constexpr qsizetype kChunkSize = 64 * 1024;

// Takes errno before anything else can change it.
[[noreturn]] void ThrowLastError(const char* what, const QString& subject)
{
    const int error = errno;
    throw xml::_com_error::FromErrno(error, QString::fromLatin1(what).arg(subject));
}

constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr qsizetype kSuffixLength = 6;
const QByteArray kTemporaryMark = QByteArrayLiteral(".tmp");

QByteArray RandomSuffix()
{
    QByteArray suffix(kSuffixLength, '\0');
    for (char& letter : suffix)
        letter = kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)];
    return suffix;
}

void WriteAll(int fd, const char* data, qsizetype size, const QString& fileName)
{
    const qint64 failAfter = CXmlTestSeam::GetFailures().saveFailsAfterBytes;
    qsizetype written = 0;
    while (written < size) {
        qsizetype chunk = std::min(size - written, kChunkSize);
        if (failAfter >= 0) {
            if (written >= failAfter)
                throw xml::_com_error::FromErrno(ENOSPC,
                                                 QStringLiteral("Cannot write %1").arg(fileName));
            chunk = std::min<qsizetype>(chunk, qsizetype(failAfter) - written);
        }
        const ssize_t count = ::write(fd, data + written, std::size_t(chunk));
        if (count < 0) {
            if (errno == EINTR)
                continue;
            ThrowLastError("Cannot write %1", fileName);
        }
        written += count;
    }
}

// The file a write of path replaces.
QString TargetOf(const QString& path, CXmlAtomicFile::Links links)
{
    const QFileInfo info(path);
    if (links == CXmlAtomicFile::Links::Follow && info.isSymLink() &&
        !info.canonicalFilePath().isEmpty())
        return info.canonicalFilePath();
    return path;
}

bool IsTemporaryName(const QByteArray& name, const QByteArray& prefix)
{
    if (name.size() != prefix.size() + kSuffixLength || !name.startsWith(prefix))
        return false;
    for (const char letter : name.mid(prefix.size())) {
        if (!std::strchr(kLetters, letter) || letter == '\0')
            return false;
    }
    return true;
}
} // namespace

bool CXmlAtomicFile::ReadWhole(const QString& path, qint64 maxSize, QByteArray& bytes,
                               QString& error)
{
    RegularFile::Contents contents = RegularFile::Read(path, maxSize);
    if (!contents.ok()) {
        error = contents.reason;
        if (!error.isEmpty())
            error[0] = error[0].toUpper();
        return false;
    }
    bytes = std::move(contents.bytes);
    return true;
}

void CXmlAtomicFile::RemoveLeftovers(const QString& path, Links links)
{
    const QFileInfo target(TargetOf(path, links));
    const QByteArray directory = QFile::encodeName(target.absolutePath());
    const QByteArray prefix = QFile::encodeName(target.fileName()) + kTemporaryMark;
    DIR* entries = ::opendir(directory.constData());
    if (!entries)
        return;
    const int directoryFd = ::dirfd(entries);
    while (const dirent* entry = ::readdir(entries)) {
        const QByteArray name(entry->d_name);
        struct stat status = {};
        if (!IsTemporaryName(name, prefix) ||
            ::fstatat(directoryFd, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISREG(status.st_mode) && status.st_uid == ::geteuid())
            ::unlinkat(directoryFd, entry->d_name, 0);
    }
    ::closedir(entries);
}

void CXmlAtomicFile::Write(const QString& path, const char* data, qsizetype size, Links links)
{
    const QString target = TargetOf(path, links);
    const QByteArray nativeTarget = QFile::encodeName(target);

    struct stat existing = {};
    const bool exists = ::lstat(nativeTarget.constData(), &existing) == 0;
    if (!exists && errno != ENOENT)
        ThrowLastError("Cannot reach %1", target);
    // A link that is replaced keeps nothing of what it names.
    const bool keepsFile = exists && !S_ISLNK(existing.st_mode);
    if (keepsFile) {
        if (!S_ISREG(existing.st_mode))
            throw xml::_com_error(xml::E_INVALIDARG,
                                  QStringLiteral("%1 is not a regular file").arg(target));
        // The rename would replace a file that may not be written; refuse as writing would.
        const int probe = ::open(nativeTarget.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (probe < 0)
            ThrowLastError("Cannot write %1", target);
        ::close(probe);
    }

    int fd = -1;
    QByteArray temporaryPath;
    // Until the rename succeeds the temporary file goes again, whatever failed.
    auto removeTemporary = qScopeGuard([&] {
        if (fd >= 0)
            ::close(fd);
        if (!temporaryPath.isEmpty())
            ::unlink(temporaryPath.constData());
    });
    const QString directory = QFileInfo(target).absolutePath();
    for (int attempt = 0; fd < 0; ++attempt) {
        const QByteArray candidate = nativeTarget + kTemporaryMark + RandomSuffix();
        fd = ::open(candidate.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                    keepsFile ? 0600 : 0666);
        if (fd >= 0)
            temporaryPath = candidate;
        else if (errno != EEXIST || attempt == 100)
            ThrowLastError("Cannot create a temporary file in %1", directory);
    }
    const QString temporaryName = QFile::decodeName(temporaryPath);

    WriteAll(fd, data, size, temporaryName);
    if (::fsync(fd) != 0)
        ThrowLastError("Cannot flush %1", temporaryName);
    if (keepsFile) {
        // Only a privileged process can give the file back to its owner; others own it anyway.
        [[maybe_unused]] const int owned = ::fchown(fd, existing.st_uid, existing.st_gid);
        if (::fchmod(fd, existing.st_mode & 07777) != 0)
            ThrowLastError("Cannot set the permissions of %1", temporaryName);
    }
    if (::close(std::exchange(fd, -1)) != 0)
        ThrowLastError("Cannot flush %1", temporaryName);
    if (::rename(temporaryPath.constData(), nativeTarget.constData()) != 0)
        ThrowLastError("Cannot replace %1", target);
    removeTemporary.dismiss();

    // The rename itself is durable only once the directory is synced; the new content is
    // complete either way, so a failure here is not worth reporting.
    const int directoryFd =
        ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directoryFd >= 0) {
        ::fsync(directoryFd);
        ::close(directoryFd);
    }
}
