// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CurrentPage.h"

#include "app/Globals.h"
#include "platform/HtmlView.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

CurrentPage::CurrentPage(HtmlView* view) : QObject(view), m_view(view)
{
    connect(view, &HtmlView::navigateRequested, this, [this] { m_bFailed = false; });
    connect(view, &HtmlView::loadFinished, this, [this](bool ok) { m_bFailed = !ok; });
    connect(view, &HtmlView::titleReported, this, [this](const QString& title) {
        m_strTitle = title;
        m_titleUrl = m_view->url();
    });
}

bool CurrentPage::IsOwnPage(const QString& url, const QString& appDir)
{
    const QUrl address(url);
    const QString scheme = address.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https") &&
        scheme != QLatin1String("file"))
        return true;
    if (!address.isLocalFile())
        return false;
    const QFileInfo help(QDir(appDir).filePath(QStringLiteral("readme.htm")));
    const QFileInfo shown(address.toLocalFile());
    return shown.absoluteFilePath() == help.absoluteFilePath() ||
           (!help.canonicalFilePath().isEmpty() &&
            shown.canonicalFilePath() == help.canonicalFilePath());
}

std::optional<CurrentPage::Page> CurrentPage::Get() const
{
    // A notice of the program's own stands in for a page that could not be shown.
    if (!m_view->hasEngine() || m_bFailed || m_view->isShowingNotice())
        return std::nullopt;
    const QUrl url = m_view->url();
    const QString address = url.toString();
    if (url.isEmpty() || IsOwnPage(address, g_strAppDir))
        return std::nullopt;
    // A title reported for the page before is no name for this one.
    QString title = m_titleUrl == url ? m_strTitle.simplified() : QString();
    if (title.isEmpty())
        title = url.isLocalFile() ? QFileInfo(url.toLocalFile()).fileName() : url.host();
    return Page{title, address};
}
