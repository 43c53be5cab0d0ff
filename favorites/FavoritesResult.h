// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What an operation on the favorites file came to. The engine says nothing to the user: its
// callers put a result into their own words (favorites/ui/FavoritesMessages).
struct FavoritesResult
{
    enum class Code
    {
        // The file holds the change, or the read found what there is.
        Done,
        // The file already was as asked (an edit to the same values): nothing was written.
        Unchanged,
        // A name or address is empty once trimmed: nothing was written.
        Blank,
        // Add: the same name and address are stored already.
        Duplicate,
        // Edit: another favorite already has the name and address.
        Taken,
        // Edit, delete: the favorite is no longer in the file as the caller saw it.
        Gone,
        // A folder of that title is there already, beside where one was to go.
        FolderTaken,
        // A folder would sit deeper than folders nest.
        TooDeep,
        // A folder cannot move into itself or a folder it holds.
        IntoItself,
        // No XML document could be created.
        NoParser,
        // Read: a record could not be fetched; the records before it were read.
        NodeFailure,
        // Read: the file is no file (a pipe, a device, a folder) or far larger than any list
        // of favorites: it was not read, and there are no records.
        Refused,
        // The file could not be locked, read, parsed or written: it is as it was.
        Failed,
        // Backup: the favorites file cannot be opened, or failed part-way through the copy.
        SourceUnreadable,
        SourceReadError,
        // Backup: the backup file is locked by another copy, or could not be written.
        BackupLocked,
        BackupUnwritable
    };

    Code code = Code::Done;
    // The file the result is about, and why it failed, as a sentence for the user.
    QString path;
    QString reason;
    // Folders of the same title that stood side by side and were joined into one by this
    // change, by path.
    QList<QStringList> joinedFolders = {};

    [[nodiscard]] bool succeeded() const { return code == Code::Done || code == Code::Unchanged; }
    explicit operator bool() const { return succeeded(); }
    [[nodiscard]] bool is(Code other) const { return code == other; }

    [[nodiscard]] static FavoritesResult Of(Code code, QString path = {}, QString reason = {})
    {
        return {code, std::move(path), std::move(reason)};
    }
};
