// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QComboBox;

// The list to choose a folder of My Favorites from: My Favorites first, then every folder
// indented under the one holding it.
class FolderChoice
{
public:
    // Fills combo with My Favorites and folders (in file order) and selects the folder at
    // selected, or My Favorites when it is not there.
    static void Fill(QComboBox* combo, const QList<QStringList>& folders,
                     const QStringList& selected);
    [[nodiscard]] static QStringList Selected(const QComboBox* combo);
    // A folder's path as the user reads it: "Local papers › Massachusetts".
    [[nodiscard]] static QString Shown(const QStringList& path);
};
