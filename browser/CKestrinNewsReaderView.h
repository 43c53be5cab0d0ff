#pragma once

#include "platform/HtmlView.h"

class CKestrinNewsReaderDoc;
class Profile;

// The right-hand pane: shows the home page, the selected newspaper and the frame's pages,
// and keeps the main window's caption in step with the page title.
class CKestrinNewsReaderView : public HtmlView
{
    Q_OBJECT

public:
    explicit CKestrinNewsReaderView(Profile& profile, QWidget* parent = nullptr);

    [[nodiscard]] CKestrinNewsReaderDoc* GetDocument() const;

    // Starts loading the address and returns at once; reports nothing back.
    void NavigateTo(QString url);
    using HtmlView::GoBack;
    using HtmlView::GoForward;

    void OnInitialUpdate() override;

protected:
    void OnTitleChange(const QString& title) override;
    void OnNewWindow2(QWebEnginePage** page, bool* cancel) override;

private:
    Profile& m_profile;
};
