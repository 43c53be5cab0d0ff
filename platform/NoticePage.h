// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QWebEnginePage>

// A page of the program's own: HTML handed to it, shown offline and never left. A link the
// user follows in it is reported instead of loaded, so its buttons can be commands.
class NoticePage : public QWebEnginePage
{
    Q_OBJECT

public:
    explicit NoticePage(QWebEngineProfile* profile, QObject* parent = nullptr);

    // Shows the HTML; relative addresses in it resolve against qrc:/res/notice/.
    void Show(const QString& html);

signals:
    // A link or button of the page was followed; the page stays as it is.
    void linkActivated(const QUrl& url);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
};
