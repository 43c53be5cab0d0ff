// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFileDevice>
#include <QString>

// A file of the program's own (its results, its favorites) that anything may stand in for:
// a pipe, a device, a folder, a link, or a file far larger than the program ever writes.
class RegularFile
{
public:
    struct Contents
    {
        enum class Status
        {
            Read,
            Missing,
            Unopenable, // it could not be opened (permissions, say)
            NotAFile,   // a folder, pipe, device or socket: refused without waiting on it
            TooLarge,   // past the cap: refused without reading it
            ReadError   // opened, but reading it failed part-way
        };
        Status status = Status::Missing;
        QByteArray bytes;
        // Why it was not read, as words for the user ("it is a pipe, not a file").
        QString reason;

        [[nodiscard]] bool ok() const { return status == Status::Read; }
    };

    // Reads the whole file when it is a regular one (a link is followed to its target) of at
    // most maxBytes. Never blocks on a pipe or device.
    [[nodiscard]] static Contents Read(const QString& path, qint64 maxBytes);

    // Writes the bytes to a new file beside path, to disk, and renames it over whatever has the
    // name: a link there is replaced, never followed. Empty when done, else why not; a failed
    // write (a full disk) leaves the old file as it was.
    [[nodiscard]] static QString Replace(const QString& path, const QByteArray& bytes,
                                         QFileDevice::Permissions permissions,
                                         const QDateTime& modified = {});
};
