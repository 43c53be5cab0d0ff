// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QDateTime>
#include <QString>

#include <utility>

// Why an automatic backup of Favorites.xml was made; kept in a small file beside it.
struct BackupReason
{
    enum class Kind
    {
        // Made before this reason was kept, or its note is lost.
        Unknown,
        // Before the first change a session made.
        FirstChange,
        // Before an import; detail is the bookmarks file's name.
        Import,
        // Before a restore; detail is the backup put in place, time when it was made.
        Restore
    };

    Kind kind = Kind::Unknown;
    QString detail;
    QDateTime time;

    [[nodiscard]] static BackupReason Of(Kind kind, QString detail = {}, QDateTime time = {})
    {
        return {kind, std::move(detail), std::move(time)};
    }

    bool operator==(const BackupReason&) const = default;
};
