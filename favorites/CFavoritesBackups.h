// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "BackupReason.h"

#include <QDateTime>
#include <QList>
#include <QString>

// The automatic backups of one Favorites.xml: copies in a "backups" folder beside it, named
// Favorites-YYYYMMDD-HHMMSS.xml after the local time they were made (with "-2", "-3" ...
// for more in the same second), the newest kKept kept, each with a note of why it was made
// in a .txt file of the same name. They are written as Favorites >
// Backup writes its copy: complete or not at all, never through a link. The caller holds
// the favorites lock.
class CFavoritesBackups
{
public:
    static constexpr int kKept = 20;

    // One backup as Favorites > Restore lists it.
    struct Entry
    {
        QString path;
        QDateTime time;
        // False for the copy Favorites > Backup makes.
        bool automatic = false;
        // A backup that cannot be read, or holds no favorites list, cannot be restored.
        bool readable = false;
        long count = 0;
        QString problem;
        BackupReason reason;
    };

    explicit CFavoritesBackups(const QString& favoritesPath);

    [[nodiscard]] QString Directory() const { return m_strDirectory; }

    // Copies the favorites file into a new backup, unless the newest backup already holds
    // the same bytes, and notes why. Returns the new backup's path, or empty when none was
    // needed. Throws xml::_com_error; nothing is left behind then.
    QString Make(const BackupReason& reason);
    // Takes back the backup Make just made, when the change it was made for did not happen.
    void Withdraw(const QString& backupPath);
    // Deletes all but the newest kKept automatic backups.
    void Prune() const;
    // Removes what an interrupted backup left in the folder.
    void RemoveLeftovers() const;

    // The backup Favorites > Backup makes and the automatic ones, newest first.
    [[nodiscard]] QList<Entry> List(const QString& manualBackupPath) const;

    // The file name of the sequence-th automatic backup made in the second of time.
    [[nodiscard]] static QString NameFor(const QDateTime& time, int sequence = 1);
    // When the backup at path was made: by its name, or else when it was last written.
    [[nodiscard]] static QDateTime TimeOf(const QString& path);
    // The note of why the backup at path was made; Unknown when there is none.
    [[nodiscard]] static BackupReason ReasonOf(const QString& path);

private:
    struct Named
    {
        QString path;
        QDateTime time;
        int sequence;
    };
    // The automatic backups in the folder, newest first.
    [[nodiscard]] QList<Named> Automatic() const;
    void PrepareDirectory();
    // The note beside the backup at path.
    [[nodiscard]] static QString NotePath(const QString& path);
    static void WriteNote(const QString& path, const BackupReason& reason);

    QString m_strFavoritesPath;
    QString m_strDirectory;
    bool m_bCreatedDirectory = false;
};
