// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "RegularFile.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {
QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("it is a folder, not a file");
    if (S_ISFIFO(mode))
        return QStringLiteral("it is a pipe, not a file");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("it is a device, not a file");
    return QStringLiteral("it is not a regular file");
}

class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    [[nodiscard]] int get() const { return m_fd; }

private:
    int m_fd;
};
} // namespace

RegularFile::Contents RegularFile::Read(const QString& path, qint64 maxBytes)
{
    using Status = Contents::Status;
    Contents contents;
    // Opened without waiting, so a pipe with no writer cannot hold the program up; what was
    // opened is then looked at, so nothing can be swapped in between a look and the open.
    const Descriptor fd(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        const int code = errno;
        contents.status = code == ENOENT ? Status::Missing : Status::Unopenable;
        contents.reason = systemError(code);
        return contents;
    }
    struct stat status = {};
    if (::fstat(fd.get(), &status) != 0) {
        contents.status = Status::Unopenable;
        contents.reason = systemError(errno);
        return contents;
    }
    if (!S_ISREG(status.st_mode)) {
        contents.status = Status::NotAFile;
        contents.reason = kindOf(status.st_mode);
        return contents;
    }
    const auto tooLarge = [&contents, maxBytes] {
        contents.status = Status::TooLarge;
        contents.bytes.clear();
        contents.reason = QStringLiteral("it is larger than %1, more than the program ever writes")
                              .arg(QLocale::system().formattedDataSize(maxBytes));
        return contents;
    };
    if (status.st_size > maxBytes)
        return tooLarge();
    // The file may still grow while it is read: one byte past the cap tells.
    contents.bytes.resize(qsizetype(status.st_size) + 1);
    qsizetype filled = 0;
    while (true) {
        if (filled == contents.bytes.size()) {
            if (filled > maxBytes)
                return tooLarge();
            contents.bytes.resize(qsizetype(std::min<qint64>(qint64(filled) * 2, maxBytes + 1)));
        }
        const ssize_t got = ::read(fd.get(), contents.bytes.data() + filled,
                                   size_t(contents.bytes.size() - filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            contents.status = Status::ReadError;
            contents.bytes.clear();
            contents.reason = systemError(errno);
            return contents;
        }
        if (got == 0)
            break;
        filled += got;
    }
    if (filled > maxBytes)
        return tooLarge();
    contents.bytes.truncate(filled);
    contents.status = Status::Read;
    return contents;
}

QString RegularFile::Replace(const QString& path, const QByteArray& bytes,
                             QFileDevice::Permissions permissions, const QDateTime& modified)
{
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    if (!file.open())
        return file.errorString();
    if (file.write(bytes) != bytes.size() || !file.flush())
        return file.errorString();
    if (!file.setPermissions(permissions))
        return file.errorString();
    if (modified.isValid() && !file.setFileTime(modified, QFileDevice::FileModificationTime))
        return file.errorString();
    // On disk before it takes the name, so a crash leaves the old file or the whole new one.
    if (::fsync(file.handle()) != 0)
        return systemError(errno);
    if (::rename(QFile::encodeName(file.fileName()).constData(),
                 QFile::encodeName(path).constData()) != 0)
        return systemError(errno);
    file.setAutoRemove(false);
    return {};
}
