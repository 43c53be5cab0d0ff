#pragma once

#include "platform/HtmlView.h"

#include <functional>

class CKestrinNewsReaderDoc;
class Profile;

// The right-hand pane: shows the home page, the selected newspaper and the frame's pages,
// and keeps the main window's caption in step with the page title. A site that cannot be
// opened, or a page whose renderer died, gets a page of our own with a way on; the zoom is
// remembered per site.
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
    void SetErrorNoteProvider(NoteProvider provider) { m_noteProvider = std::move(provider); }

    void OnInitialUpdate() override;

protected:
    void OnTitleChange(const QString& title) override;
    void OnNewWindow2(QWebEnginePage** page, bool* cancel) override;
    void OnNavigateComplete2(const QUrl& url) override;
    void OnNavigateError(const QWebEngineLoadingInfo& info) override;
    void OnRenderProcessGone(QWebEnginePage::RenderProcessTerminationStatus status) override;
    void OnNoticeLink(const QUrl& link) override;

private:
    void InstallPaneKeys();
    void RememberSiteName(const QString& url);
    [[nodiscard]] QString SiteNameFor(const QUrl& address) const;
    void OnZoom(int step);
    [[nodiscard]] int StoredZoomPercent(const QUrl& address) const;

    Profile& m_profile;
    QString m_ownCaption;
    QString m_siteName;
    QString m_siteNameKey;
    NoteProvider m_noteProvider;
};
