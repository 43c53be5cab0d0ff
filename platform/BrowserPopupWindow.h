#pragma once

#include <QWidget>

class QWebEnginePage;
class QWebEngineView;
class SilentWebPage;

// A separate top-level browser window for pages that ask for a new window.
class BrowserPopupWindow : public QWidget
{
    Q_OBJECT

public:
    explicit BrowserPopupWindow(bool silent);

    [[nodiscard]] QWebEnginePage* page() const;

private:
    QWebEngineView* m_view;
    SilentWebPage* m_page;
};
