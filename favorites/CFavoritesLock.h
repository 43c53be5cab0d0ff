// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QLockFile>
#include <QString>

// Keeps every other copy of the program from changing a file while this one reads, changes
// and writes it. The lock is a file beside it ("Favorites.xml.lock"); one left by a copy
// that crashed is taken over. A copy kept waiting says so with a second file
// ("Favorites.xml.lock.wait"), so that a copy changing the file again and again leaves it
// a turn.
class CFavoritesLock
{
public:
    // How long a change waits for another copy to finish before it is refused.
    static constexpr int kWaitMs = 5000;

    explicit CFavoritesLock(const QString& filePath);
    ~CFavoritesLock();
    CFavoritesLock(const CFavoritesLock&) = delete;
    CFavoritesLock& operator=(const CFavoritesLock&) = delete;

    // Waits up to waitMs; false when another copy still holds the lock or none can be made.
    [[nodiscard]] bool Acquire(int waitMs = kWaitMs);
    // Lets go of the lock before the object goes.
    void Release();
    // Whether Acquire failed because another copy holds the lock (not for want of a usable
    // lock file).
    [[nodiscard]] bool IsHeldElsewhere() const;
    // Why Acquire failed, as a sentence for the user.
    [[nodiscard]] QString FailureReason() const;

    [[nodiscard]] static QString LockPathFor(const QString& filePath);
    // Removes a waiting copy's mark that a crash left; only while holding the lock.
    void RemoveWaitMark();

private:
    // How often a waiting copy looks, and how long a copy that just let go stays away.
    static constexpr int kPollMs = 5;
    static constexpr int kTurnMs = 50;
    static constexpr int kUnfinishedAgeMs = 1000;
    static constexpr int kWaitMarkAgeMs = 1000;

    // Why the lock file can be used by no copy at all, or empty: anything at its name but a
    // regular file of this user that they may read and write waits for the user to remove it.
    [[nodiscard]] QString UnusableReason() const;
    bool RemoveUnfinishedLock();
    [[nodiscard]] bool OtherCopyWaits() const;
    void MarkWaiting();

    QLockFile m_lock;
    QString m_strLockPath;
    QString m_strWaitPath;
    bool m_bMarkedWaiting = false;
    QString m_strUnusable;
};
