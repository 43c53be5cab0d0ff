// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "platform/View.h"

#include <QDateTime>
#include <QUrl>
#include <QWebEnginePage>
#include <QWidget>

#include <memory>
#include <utility>

class GpuCompositionGate;
class NoticePage;
class QPrinter;
class QStackedLayout;
class QWebEngineFindTextResult;
class QWebEngineLoadingInfo;
class QWebEngineNewWindowRequest;
class QWebEngineView;
class SilentWebPage;

// The web-browser view: a pane that hosts the engine and offers the browser control's
// operations and events. The engine itself is created only once the window's first frame is
// on screen, so the window shows without waiting for it; requests made before then are kept.
// In place of the engine's page the pane can show a page of the program's own (a notice).
// A notice for a failure stays on show until the next page has come, so the engine's own page
// for the failure, behind it, never shows.
class HtmlView : public QWidget, public View
{
    Q_OBJECT

public:
    explicit HtmlView(QWidget* parent = nullptr);
    ~HtmlView() override;

    QWidget* widget() override { return this; }

    // Starts loading the address and returns at once.
    void Navigate2(const QString& url);
    void GoBack();
    void GoForward();
    // Loads the page on show again (after a failure or a crash, the address that failed).
    void Refresh();
    // Stops the load under way; what has come so far stays.
    void Stop();
    [[nodiscard]] bool isLoading() const { return m_loading; }
    void SetSilent(bool silent);
    // Pop-up windows are captioned with their page's title followed by this.
    void SetPopupTitleSuffix(const QString& suffix) { m_popupTitleSuffix = suffix; }

    // Finds the text in the page on show, after the match on show or before it; "" ends
    // the search and its highlights. The result comes as findFinished.
    void FindText(const QString& text, bool backward);

    // The zoom of the engine's page; 1.0 is 100 %. Kept across loads until changed.
    [[nodiscard]] qreal zoomFactor() const;
    void SetZoomFactor(qreal factor);

    // Shows a page of the program's own with this title in place of the page on show, until
    // a load succeeds (or is stopped once it has brought a page). The title goes to
    // OnTitleChange at once.
    void ShowNotice(const QString& html, const QString& title);
    [[nodiscard]] bool isShowingNotice() const { return m_noticeShown; }
    [[nodiscard]] NoticePage* noticePage() const { return m_noticePage; }

    // Creates the engine now instead of after the first frame.
    void EnsureEngine();
    [[nodiscard]] bool hasEngine() const { return m_view != nullptr; }
    [[nodiscard]] QWebEnginePage* page() const;
    // The address of the engine's page: after a failed load, the address that failed.
    [[nodiscard]] QUrl url() const;

    // The widget the pages are shown in: bars and bubbles lie over it.
    [[nodiscard]] QWidget* pageArea() const { return m_pageArea; }
    // Puts a widget below the pages, across the pane (a bar that takes its own room).
    void AddBelowPages(QWidget* widget);
    // Keeps a widget lying over the pages above whichever page is on show.
    void AddOverPages(QWidget* widget);

signals:
    // Every address handed to Navigate2, as given.
    void navigateRequested(const QString& url);
    // Every title the control reported, as handed to OnTitleChange.
    void titleReported(const QString& title);
    // A load ended: false when the page could not be shown.
    void loadFinished(bool ok);
    // A load of this address started (0), went on, or ended or stopped (100).
    void loadProgress(const QUrl& url, int percent, bool loading);
    // The pointer is over a link to this address; "" once it is over none.
    void linkHovered(const QString& url);
    // The address of what the pane shows changed (see url()).
    void addressChanged(const QUrl& url);
    // A search ended: the match on show, counted from 1, of count matches.
    void findFinished(int active, int count);
    // A link meant for another program (an e-mail address, a telephone number) was followed.
    void externalLinkRequested(const QUrl& url);
    void printFinished(bool success);

protected:
    // The page on show has a title: after every finished load, and whenever a page's own
    // title changes. The engine's stand-in (the address) while a page loads is never one.
    virtual void OnTitleChange(const QString& title);
    // A page asks for a pop-up window of its own (a script's sized window): set *page to the
    // page that shows it, or *cancel to refuse. The default opens a separate browser window
    // with the geometry asked for, kept on the screen. Links meant for a new tab or window
    // open in the pane itself.
    virtual void OnNewWindow2(QWebEnginePage** page, bool* cancel);
    // A page's address is now on show (a load committed or the page moved within itself).
    virtual void OnNavigateComplete2(const QUrl& url);
    // A main-frame load failed and the engine shows its own error page. The default keeps it.
    virtual void OnNavigateError(const QWebEngineLoadingInfo& info);
    // The process that draws the page ended: the pane shows nothing. The default leaves it so.
    virtual void OnRenderProcessGone(QWebEnginePage::RenderProcessTerminationStatus status);
    // A link in the notice on show was followed.
    virtual void OnNoticeLink(const QUrl& url);
    // Prints the page on show through the print dialog.
    void OnFilePrint();
    // Reports the title of what is on show again, as after a finished load.
    void ReportCurrentTitle();

private:
    // A history entry as committed: its place and when it was committed.
    using Entry = std::pair<int, QDateTime>;

    [[nodiscard]] Entry CommittedEntry() const;
    void CreateEngine();
    void OnNewWindowRequested(QWebEngineNewWindowRequest& request);
    void OnLoadingChanged(const QWebEngineLoadingInfo& info);
    void OnFindResult(const QWebEngineFindTextResult& result);
    void ShowPage(QWidget* page);
    void OnEngineTitle(const QString& engineTitle);
    void ReportTitle(const QString& engineTitle);
    void Deliver(const QString& title);
    void HideNotice();

    GpuCompositionGate* m_gate;
    QWidget* m_pageArea;
    QStackedLayout* m_stack;
    QList<QWidget*> m_overPages;
    QRect m_popupGeometry;
    QString m_popupTitleSuffix;
    QUrl m_loadingUrl;
    QWebEngineView* m_view = nullptr;
    SilentWebPage* m_page = nullptr;
    QWebEngineView* m_noticeView = nullptr;
    NoticePage* m_noticePage = nullptr;
    QString m_noticeTitle;
    // The engine's history entry behind the notice: one after it means a page came.
    Entry m_noticeEntry;
    bool m_noticeShown = false;
    bool m_loading = false;
    bool m_silent = false;
    bool m_hasPending = false;
    QString m_pendingUrl;
    quint64 m_titleSequence = 0;
    int m_findsPending = 0;
    std::unique_ptr<QPrinter> m_printer;
};
