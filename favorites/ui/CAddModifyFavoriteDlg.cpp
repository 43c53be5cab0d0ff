#include "CAddModifyFavoriteDlg.h"

#include "favorites/CFavoritesStore.h"
#include "platform/MessageBox.h"
#include "res/Resource.h"

#include <QLineEdit>

CAddModifyFavoriteDlg::CAddModifyFavoriteDlg(QWidget* parent)
    : Dialog(IDD_ADD_MODIFY_FAVORITE, parent)
{
    OnCommand(IDC_DELETE, [this] { OnDelete(); });
}

void CAddModifyFavoriteDlg::EditRecord(const FavoriteRef& ref)
{
    m_bExisting = false;
    m_bEditing = true;
    m_bSelectName = true;
    m_original = ref;
    m_strName = ref.record.title;
    m_strURL = ref.record.url;
}

void CAddModifyFavoriteDlg::DoDataExchange(bool saveAndValidate)
{
    DDX_Text(saveAndValidate, IDC_FAVORITE_NAME, m_strName);
    DDX_Text(saveAndValidate, IDC_FAVORITE_URL, m_strURL);
}

bool CAddModifyFavoriteDlg::OnInitDialog()
{
    Dialog::OnInitDialog();
    if (m_bExisting) {
        setWindowTitle(QStringLiteral("Delete My Favorites"));
        GetDlgItem(IDC_DELETE)->setEnabled(true);
        GetDlgItem(IDC_FAVORITE_NAME)->setEnabled(false);
        GetDlgItem(IDC_FAVORITE_URL)->setEnabled(false);
        GetDlgItem(IDOK)->setEnabled(false);
    } else {
        setWindowTitle(m_bEditing ? QStringLiteral("Modify My Favorites")
                                  : QStringLiteral("Edit My Favorites"));
        GetDlgItem(IDC_DELETE)->setEnabled(false);
    }
    UpdateData(false);
    if (m_bExisting || !m_bSelectName)
        return true;
    auto* name = qobject_cast<QLineEdit*>(GetDlgItem(IDC_FAVORITE_NAME));
    name->setFocus(Qt::OtherFocusReason);
    name->selectAll();
    return false;
}

void CAddModifyFavoriteDlg::OnOK()
{
    // Enter reaches here too; in existing-record mode Save is greyed and does nothing.
    if (!GetDlgItem(IDOK)->isEnabled())
        return;
    Apply(CFavoritesStore::Add);
}

void CAddModifyFavoriteDlg::OnDelete()
{
    if (MessageBox::Show(QStringLiteral("Determined to delete?"), MB_YESNO | MB_ICONQUESTION) ==
        IDNO)
        return;
    Apply(CFavoritesStore::Delete);
}

void CAddModifyFavoriteDlg::Apply(int operation)
{
    UpdateData(true);
    // The store has shown its own message when it refuses; the dialog then stays open.
    const bool done = m_bEditing && operation == CFavoritesStore::Add
                          ? CFavoritesStore::Edit(m_original, m_strName, m_strURL)
                          : CFavoritesStore::Update(operation, m_strName, m_strURL);
    if (!done)
        return;
    MessageBox::Show(QStringLiteral("Successfully!"), MB_OK);
    EndDialog(IDOK);
}
