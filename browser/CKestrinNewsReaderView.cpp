#include "CKestrinNewsReaderView.h"

#include "app/CKestrinNewsReaderDoc.h"
#include "app/ProductAddresses.h"
#include "app/SettingsKeys.h"
#include "res/Resource.h"
#include "res/StringTable.h"

CKestrinNewsReaderView::CKestrinNewsReaderView(Profile& profile, QWidget* parent)
    : HtmlView(parent), m_profile(profile)
{
    setObjectName(QStringLiteral("CKestrinNewsReaderView"));
    m_commandMap.on(ID_FILE_PRINT, [this] { OnFilePrint(); });
}

CKestrinNewsReaderDoc* CKestrinNewsReaderView::GetDocument() const
{
    return static_cast<CKestrinNewsReaderDoc*>(document());
}

void CKestrinNewsReaderView::NavigateTo(QString url)
{
    Navigate2(url);
}

void CKestrinNewsReaderView::OnInitialUpdate()
{
    HtmlView::OnInitialUpdate();
    SetSilent(true);
    switch (m_profile.GetInt(kSettingsSection, SettingsKeys::IndexPage)) {
    case 2:
        Navigate2(kDefaultHomePageUrl);
        break;
    case 3:
        Navigate2(m_profile.GetString(kSettingsSection, SettingsKeys::IndexPageURL));
        break;
    default:
        // Blank, and any unknown mode, open nothing at all.
        break;
    }
    if (CKestrinNewsReaderDoc* doc = GetDocument())
        doc->m_pBrowserView = this;
}

void CKestrinNewsReaderView::OnTitleChange(const QString& title)
{
    window()->setWindowTitle(title + QStringLiteral(" - ") + StringTable::Load(IDS_DISPLAY_NAME));
}

void CKestrinNewsReaderView::OnNewWindow2(QWebEnginePage** page, bool* cancel)
{
    HtmlView::OnNewWindow2(page, cancel);
}
