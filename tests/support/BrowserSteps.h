// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "TestFiles.h"

#include <QObject>
#include <QStringList>
#include <QVariant>

class AppFixture;
class QWebEnginePage;
class QWidget;

// Steps the browser tests share: scripts in a page, favorites to pick, captions seen.
class BrowserSteps
{
public:
    // Runs the script in the page and returns its result, or an invalid value after the
    // time-out.
    [[nodiscard]] static QVariant RunScript(QWebEnginePage* page, const QString& script);
    // The text of the document the page holds, whatever kind of page it is (also the
    // engine's own error pages), trimmed; "" after the time-out.
    [[nodiscard]] static QString PlainText(QWebEnginePage* page);
    // Writes Favorites.xml into the fixture's folder, before it starts.
    static bool WriteFavorites(const AppFixture& fixture, const TestFiles::Records& records);
    // Selects the favorite shown at this row of "My Favorites", as a click would.
    static bool SelectFavorite(const AppFixture& fixture, int row);
    // Makes the frame the active window and gives the widget the focus.
    static bool FocusIn(const AppFixture& fixture, QWidget* widget);
};

// Every caption the window shows, in order, without repeats.
class CaptionLog : public QObject
{
    Q_OBJECT

public:
    explicit CaptionLog(QWidget* window);
    [[nodiscard]] const QStringList& captions() const { return m_captions; }
    void clear() { m_captions.clear(); }

private:
    QStringList m_captions;
};
