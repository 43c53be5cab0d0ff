#pragma once

#include "platform/View.h"

#include <QUrl>
#include <QWebEnginePage>
#include <QWidget>

#include <memory>

class GpuCompositionGate;
class NoticePage;
class QPrinter;
class QStackedLayout;
class QWebEngineLoadingInfo;
class QWebEngineView;
class SilentWebPage;

// The web-browser view: a pane that hosts the engine and offers the browser control's
// operations and events. The engine itself is created only once the window's first frame is
// on screen, so the window shows without waiting for it; requests made before then are kept.
// In place of the engine's page the pane can show a page of the program's own (a notice).
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
    void SetSilent(bool silent);

    // The zoom of the engine's page; 1.0 is 100 %. Kept across loads until changed.
    [[nodiscard]] qreal zoomFactor() const;
    void SetZoomFactor(qreal factor);

    // Shows a page of the program's own with this title in place of the page on show, until
    // a load of another address starts or a load succeeds. The title goes to OnTitleChange
    // at once.
    void ShowNotice(const QString& html, const QString& title);
    [[nodiscard]] bool isShowingNotice() const { return m_noticeShown; }
    [[nodiscard]] NoticePage* noticePage() const { return m_noticePage; }

    // Creates the engine now instead of after the first frame.
    void EnsureEngine();
    [[nodiscard]] bool hasEngine() const { return m_view != nullptr; }
    [[nodiscard]] QWebEnginePage* page() const;
    // The address of the engine's page: after a failed load, the address that failed.
    [[nodiscard]] QUrl url() const;

signals:
    // Every address handed to Navigate2, as given.
    void navigateRequested(const QString& url);
    // Every title the control reported, as handed to OnTitleChange.
    void titleReported(const QString& title);
    // A load ended: false when the page could not be shown.
    void loadFinished(bool ok);
    void printFinished(bool success);

protected:
    // The page on show has a title: after every finished load, and whenever a page's own
    // title changes. The engine's stand-in (the address) while a page loads is never one.
    virtual void OnTitleChange(const QString& title);
    // A page asks for a new window: set *page to the page that shows it, or *cancel to
    // refuse. The default opens a separate top-level browser window.
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
    void CreateEngine();
    void OnLoadingChanged(const QWebEngineLoadingInfo& info);
    void OnEngineTitle(const QString& engineTitle);
    void ReportTitle(const QString& engineTitle);
    void Deliver(const QString& title);
    void HideNotice();

    GpuCompositionGate* m_gate;
    QStackedLayout* m_stack;
    QWebEngineView* m_view = nullptr;
    SilentWebPage* m_page = nullptr;
    QWebEngineView* m_noticeView = nullptr;
    NoticePage* m_noticePage = nullptr;
    QString m_noticeTitle;
    QUrl m_noticeUrl;
    bool m_noticeShown = false;
    bool m_loading = false;
    bool m_silent = false;
    bool m_hasPending = false;
    QString m_pendingUrl;
    quint64 m_titleSequence = 0;
    std::unique_ptr<QPrinter> m_printer;
};
