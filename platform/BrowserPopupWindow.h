// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QWidget>

class QWebEnginePage;
class QWebEngineNewWindowRequest;
class QWebEngineView;
class SilentWebPage;

// A separate browser window for a page's pop-up: captioned with its page's title, kept on
// the screen, closed with Esc or Ctrl+W. Stays above the window it was opened from.
class BrowserPopupWindow : public QWidget
{
    Q_OBJECT

public:
    // titleSuffix follows the page's title in the caption.
    BrowserPopupWindow(bool silent, const QString& titleSuffix, QWidget* opener = nullptr);

    [[nodiscard]] QWebEnginePage* page() const;

    // Takes the size and place the page asked for, as far as the screen allows; without a
    // place, the window is centred over its opener.
    void Place(const QRect& requested);

private:
    void OnNewWindowRequested(QWebEngineNewWindowRequest& request);

    QWebEngineView* m_view;
    SilentWebPage* m_page;
    QString m_titleSuffix;
};
