// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CFavoritesLock.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>

#include <sys/stat.h>
#include <unistd.h>

CFavoritesLock::CFavoritesLock(const QString& filePath)
    : m_lock(LockPathFor(filePath)), m_strLockPath(LockPathFor(filePath)),
      m_strWaitPath(m_strLockPath + QStringLiteral(".wait"))
{}

namespace {
// When this copy last let go of a lock; see Acquire.
QElapsedTimer& LastRelease()
{
    static QElapsedTimer value;
    return value;
}
} // namespace

CFavoritesLock::~CFavoritesLock()
{
    Release();
}

void CFavoritesLock::Release()
{
    if (m_bMarkedWaiting) {
        QFile::remove(m_strWaitPath);
        m_bMarkedWaiting = false;
    }
    if (m_lock.isLocked()) {
        m_lock.unlock();
        LastRelease().start();
    }
}

bool CFavoritesLock::IsHeldElsewhere() const
{
    return m_strUnusable.isEmpty() && m_lock.error() == QLockFile::LockFailedError;
}

QString CFavoritesLock::UnusableReason() const
{
    struct stat status = {};
    // Nothing there: the lock makes the file.
    if (::lstat(QFile::encodeName(m_strLockPath).constData(), &status) != 0)
        return {};
    QString what;
    if (S_ISLNK(status.st_mode))
        what = QStringLiteral("is a link");
    else if (S_ISDIR(status.st_mode))
        what = QStringLiteral("is a folder");
    else if (S_ISFIFO(status.st_mode))
        what = QStringLiteral("is a pipe");
    else if (!S_ISREG(status.st_mode))
        what = QStringLiteral("is not a regular file");
    else if (status.st_uid != ::geteuid())
        what = QStringLiteral("belongs to another user");
    else if ((status.st_mode & (S_IRUSR | S_IWUSR)) != (S_IRUSR | S_IWUSR))
        what = QStringLiteral("may not be read and written by you");
    else
        return {};
    return QStringLiteral("The lock file %1 %2, so no copy of Kestrin News Reader can use it. "
                          "Nothing was changed. Remove that file, then try again.")
        .arg(m_strLockPath, what);
}

QString CFavoritesLock::LockPathFor(const QString& filePath)
{
    return QFileInfo(filePath).absoluteFilePath() + QStringLiteral(".lock");
}

bool CFavoritesLock::Acquire(int waitMs)
{
    // A copy that changes the file again right after its last change first leaves a turn
    // to a copy that waits, which looks often: the lock itself serves whoever asks first.
    if (LastRelease().isValid() && !LastRelease().hasExpired(kTurnMs) && OtherCopyWaits())
        QThread::msleep(ulong(std::max<qint64>(0, kTurnMs - LastRelease().elapsed())));
    const QDeadlineTimer deadline(waitMs);
    for (;;) {
        // Looked at before every try: the lock would read a pipe there, and wait for ever.
        m_strUnusable = UnusableReason();
        if (!m_strUnusable.isEmpty())
            return false;
        if (m_lock.tryLock(0)) {
            // A mark nobody renews any more was left by a copy that stopped waiting.
            if (m_bMarkedWaiting || !OtherCopyWaits())
                QFile::remove(m_strWaitPath);
            m_bMarkedWaiting = false;
            return true;
        }
        if (m_lock.error() != QLockFile::LockFailedError)
            return false;
        if (RemoveUnfinishedLock())
            continue;
        if (deadline.hasExpired())
            return false;
        MarkWaiting();
        QThread::msleep(ulong(std::min<qint64>(deadline.remainingTime(), kPollMs)));
    }
}

void CFavoritesLock::MarkWaiting()
{
    // Only a plain file is written: opening a pipe there would wait for a reader.
    struct stat status = {};
    if (::lstat(QFile::encodeName(m_strWaitPath).constData(), &status) == 0 &&
        !S_ISREG(status.st_mode))
        return;
    QFile mark(m_strWaitPath);
    // Opening for append renews the time of an existing mark.
    if (mark.open(QIODevice::WriteOnly | QIODevice::Append)) {
        mark.write("", 0);
        mark.setFileTime(QDateTime::currentDateTime(), QFileDevice::FileModificationTime);
        m_bMarkedWaiting = true;
    }
}

bool CFavoritesLock::OtherCopyWaits() const
{
    // A mark that was not renewed lately belongs to a copy that stopped waiting.
    const QDateTime marked = QFileInfo(m_strWaitPath).lastModified();
    return marked.isValid() && marked.msecsTo(QDateTime::currentDateTime()) < kWaitMarkAgeMs;
}

void CFavoritesLock::RemoveWaitMark()
{
    if (m_lock.isLocked())
        QFile::remove(m_strWaitPath);
}

bool CFavoritesLock::RemoveUnfinishedLock()
{
    // A copy killed between creating the lock file and writing its name into it leaves a
    // file that names no owner, which the lock would otherwise honour for a long time.
    // A live owner writes its name at once and holds a system lock on the file, which the
    // removal respects.
    qint64 pid = 0;
    QString hostName;
    QString appName;
    if (m_lock.getLockInfo(&pid, &hostName, &appName))
        return false;
    const QDateTime written = QFileInfo(m_strLockPath).lastModified();
    if (!written.isValid() || written.msecsTo(QDateTime::currentDateTime()) < kUnfinishedAgeMs)
        return false;
    return m_lock.removeStaleLockFile();
}

QString CFavoritesLock::FailureReason() const
{
    if (!m_strUnusable.isEmpty())
        return m_strUnusable;
    switch (m_lock.error()) {
    case QLockFile::LockFailedError:
        return QStringLiteral("Another copy of Kestrin News Reader is changing it and did not "
                              "finish within %1 seconds. Nothing was changed; please try again.")
            .arg(kWaitMs / 1000);
    case QLockFile::PermissionError:
        return QStringLiteral("Permission denied: the lock file %1 cannot be created. Nothing "
                              "was changed.")
            .arg(m_strLockPath);
    default:
        return QStringLiteral("The lock file %1 cannot be created. Nothing was changed.")
            .arg(m_strLockPath);
    }
}
