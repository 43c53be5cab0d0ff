// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

#include <optional>

class HtmlView;

// Follows the browser pane to tell which page it shows, if that page is one a user keeps:
// a web page or a local file, also while it is still loading. The blank pane, the
// program's own pages (its start page, its help page, pages it builds itself) and a page
// that failed to load are not.
class CurrentPage : public QObject
{
    Q_OBJECT

public:
    struct Page
    {
        QString title;
        QString url;
    };

    // Lives as long as the view it follows.
    explicit CurrentPage(HtmlView* view);

    // The page on show, its title standing in with the host or file name when it has none.
    [[nodiscard]] std::optional<Page> Get() const;

    // Whether an address is one of the program's own pages, given the folder of its help page.
    [[nodiscard]] static bool IsOwnPage(const QString& url, const QString& appDir);

private:
    HtmlView* m_view;
    bool m_bFailed = false;
    // The document's own title as the view last reported it (empty for an untitled page),
    // and the address it was reported for.
    QString m_strTitle;
    QUrl m_titleUrl;
};
