// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// Files the tests write and read.
class TestFiles
{
public:
    using Records = QList<QPair<QString, QString>>;

    // A Favorites.xml holding the (title, url) pairs, in order.
    [[nodiscard]] static QByteArray FavoritesXml(const Records& records);
    [[nodiscard]] static QByteArray Read(const QString& path);
    static bool Write(const QString& path, const QByteArray& bytes);

    // The tests' fixtures (tests/data) and the program's data files in the source tree.
    [[nodiscard]] static QString TestDataDir();
    [[nodiscard]] static QString SourceDataDir();

    // The file: address of a page in tests/data/pages.
    [[nodiscard]] static QString PageUrl(const char* name);
    // The text of an HTML file's <title>, entities decoded.
    [[nodiscard]] static QString HtmlTitle(const QString& path);
    // The title of the built-in start page, the default home page.
    [[nodiscard]] static QString StartPageTitle();
};
