#include "CFavoritesLock.h"

#include <QFileInfo>

CFavoritesLock::CFavoritesLock(const QString& filePath)
    : m_lock(LockPathFor(filePath)), m_strLockPath(LockPathFor(filePath))
{}

CFavoritesLock::~CFavoritesLock() = default;

QString CFavoritesLock::LockPathFor(const QString& filePath)
{
    return QFileInfo(filePath).absoluteFilePath() + QStringLiteral(".lock");
}

bool CFavoritesLock::Acquire(int waitMs)
{
    return m_lock.tryLock(waitMs);
}

QString CFavoritesLock::FailureReason() const
{
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
