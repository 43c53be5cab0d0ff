#pragma once

#include "View.h"

#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <memory>

class QPrinter;
class QWebEnginePage;
class QWebEngineView;
class SilentWebPage;

// The web-browser view: a pane that hosts the engine and offers the browser control's
// operations and events. The engine itself is created only once the pane has been drawn,
// so the window shows without waiting for it; requests made before then are kept.
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
    void SetSilent(bool silent);

    // Creates the engine now instead of after the first show.
    void EnsureEngine();
    [[nodiscard]] bool hasEngine() const { return m_view != nullptr; }
    [[nodiscard]] QWebEnginePage* page() const;
    [[nodiscard]] QUrl url() const;

signals:
    // Every address handed to Navigate2, as given.
    void navigateRequested(const QString& url);
    // Every title the control reported, as handed to OnTitleChange.
    void titleReported(const QString& title);
    // A load ended: false when the page could not be shown (the engine's error page is).
    void loadFinished(bool ok);
    void printFinished(bool success);

protected:
    // The page on show has a new title.
    virtual void OnTitleChange(const QString& title);
    // A page asks for a new window: set *page to the page that shows it, or *cancel to
    // refuse. The default opens a separate top-level browser window.
    virtual void OnNewWindow2(QWebEnginePage** page, bool* cancel);
    // Prints the page on show through the print dialog.
    void OnFilePrint();

    void paintEvent(QPaintEvent* event) override;

private:
    void CreateEngine();
    void ReportTitle(const QString& engineTitle);

    QWebEngineView* m_view = nullptr;
    SilentWebPage* m_page = nullptr;
    bool m_silent = false;
    bool m_engineScheduled = false;
    bool m_hasPending = false;
    QString m_pendingUrl;
    quint64 m_titleSequence = 0;
    std::unique_ptr<QPrinter> m_printer;
};
