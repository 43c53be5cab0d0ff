// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QByteArray>
#include <QString>

// Replaces a file so that it holds either its old or its new bytes, never a mix: the bytes
// go to a temporary file in the same directory, named after the file with ".tmp" and six
// letters or digits, are synced to disk and renamed over the old file, whose permissions
// they keep.
class CXmlAtomicFile
{
public:
    enum class Links
    {
        // A symbolic link at the path stands for the file it names, which is replaced.
        Follow,
        // A symbolic link at the path is itself replaced; what it names is never opened.
        Replace
    };

    // Throws xml::_com_error with the system's status; the old file is then untouched and
    // no temporary file is left.
    static void Write(const QString& path, const char* data, qsizetype size,
                      Links links = Links::Follow);
    // Reads the whole file, refusing one larger than maxSize and anything but a regular file
    // (never waiting on a pipe or reading a device); false with the reason.
    static bool ReadWhole(const QString& path, qint64 maxSize, QByteArray& bytes, QString& error);
    // Removes the temporary files that an interrupted Write of path left behind: regular
    // files of this process's user named as Write names them, and nothing else.
    static void RemoveLeftovers(const QString& path, Links links = Links::Follow);
};
