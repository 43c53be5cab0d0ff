// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "platform/HtmlView.h"

#include <QHash>

#include <functional>

class CKestrinNewsReaderDoc;
class FindBar;
class LinkBubble;
class LoadingLine;
class Profile;
class QShortcut;

// The right-hand pane: shows the home page, the selected newspaper and the frame's pages,
// and keeps the main window's caption in step with the page title. A site that cannot be
// opened, or a page whose renderer died, gets a page of our own with a way on; the zoom is
// remembered per site. Behaves as browsers do: a line at the top while a page loads (Esc
// stops it), the address of the link under the pointer at the bottom left, a find bar, and
// links for a mail or telephone program handed to the desktop.
class CKestrinNewsReaderView : public HtmlView
{
    Q_OBJECT

public:
    // Gives one more line for the page shown when an address cannot be opened, or "".
    using NoteProvider = std::function<QString(const QUrl& address)>;

    explicit CKestrinNewsReaderView(Profile& profile, QWidget* parent = nullptr);

    [[nodiscard]] CKestrinNewsReaderDoc* GetDocument() const;

    // Starts loading the address and returns at once; reports nothing back.
    void NavigateTo(QString url);
    using HtmlView::GoBack;
    using HtmlView::GoForward;
    using HtmlView::Refresh;

    // Hands the address on show to the user's own web browser.
    void OpenInYourBrowser();
    // Puts the address on show on the clipboard.
    void CopyPageAddress();
    // Opens the find bar with the focus in it; when it has the focus already, finds the next.
    void ShowFindBar();
    [[nodiscard]] FindBar* findBar() const { return m_findBar; }
    [[nodiscard]] LoadingLine* loadingLine() const { return m_loadingLine; }
    [[nodiscard]] LinkBubble* linkBubble() const { return m_linkBubble; }
    // The web address of what the pane shows (after a failure, the address that failed);
    // empty for the program's own pages and the empty pane.
    [[nodiscard]] QString pageAddress() const;
    void SetErrorNoteProvider(NoteProvider provider) { m_noteProvider = std::move(provider); }

    void OnInitialUpdate() override;

signals:
    // "Loading www.example.com… 45%" while a page loads; "" once it is done.
    void loadingStatusChanged(const QString& text);
    // pageAddress() changed.
    void pageAddressChanged(const QString& address);

protected:
    void OnTitleChange(const QString& title) override;
    void OnNewWindow2(QWebEnginePage** page, bool* cancel) override;
    void OnNavigateComplete2(const QUrl& url) override;
    void OnNavigateError(const QWebEngineLoadingInfo& info) override;
    void OnRenderProcessGone(QWebEnginePage::RenderProcessTerminationStatus status) override;
    void OnNoticeLink(const QUrl& link) override;

private:
    void InstallPaneKeys();
    void InstallBrowserParts();
    void OnLoadProgress(const QUrl& url, int percent, bool loading);
    void OnExternalLink(const QUrl& url);
    void RememberSiteName(const QString& url);
    [[nodiscard]] QString SiteNameFor(const QUrl& address) const;
    void OnZoom(int step);
    [[nodiscard]] int StoredZoomPercent(const QUrl& address) const;

    Profile& m_profile;
    QString m_ownCaption;
    // The names the tree gave the addresses it opened, by address and by site, so that the
    // pane speaks of a site by its name also when it comes back to it through its history.
    QHash<QString, QString> m_namesByAddress;
    QHash<QString, QString> m_namesBySite;
    NoteProvider m_noteProvider;
    FindBar* m_findBar = nullptr;
    LoadingLine* m_loadingLine = nullptr;
    LinkBubble* m_linkBubble = nullptr;
    QShortcut* m_stopKey = nullptr;
};
