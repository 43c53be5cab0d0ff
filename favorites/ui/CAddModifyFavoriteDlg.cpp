#include "CAddModifyFavoriteDlg.h"

#include "FavoritesMessages.h"
#include "favorites/CFavoritesStore.h"
#include "platform/MessageBox.h"
#include "res/Resource.h"

#include <QLineEdit>

CAddModifyFavoriteDlg::CAddModifyFavoriteDlg(CFavoritesStore& store, QWidget* parent)
    : Dialog(IDD_ADD_MODIFY_FAVORITE, parent), m_store(store)
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
    if (TellMissing())
        return;
    Apply(CFavoritesStore::Add);
}

QString CAddModifyFavoriteDlg::MissingText(const QString& name, const QString& url)
{
    const bool noName = CFavoritesStore::TrimBlanks(name).isEmpty();
    const bool noURL = CFavoritesStore::TrimBlanks(url).isEmpty();
    if (noName && noURL)
        return QStringLiteral("Type the newspaper's name and its web address, then click Save.");
    if (noName)
        return QStringLiteral("The name is missing: type the newspaper's name, then click Save.");
    if (noURL)
        return QStringLiteral("The web address is missing: type the newspaper's address, such as "
                              "https://www.example.com/, then click Save.");
    return {};
}

bool CAddModifyFavoriteDlg::TellMissing()
{
    auto* name = qobject_cast<QLineEdit*>(GetDlgItem(IDC_FAVORITE_NAME));
    auto* url = qobject_cast<QLineEdit*>(GetDlgItem(IDC_FAVORITE_URL));
    const QString text = MissingText(name->text(), url->text());
    if (text.isEmpty())
        return false;
    // The store would refuse the pair in silence; the dialog stays open and says why.
    MessageBox::Show(text, MB_OK | MB_ICONWARNING);
    QLineEdit* empty = CFavoritesStore::TrimBlanks(name->text()).isEmpty() ? name : url;
    empty->setFocus(Qt::OtherFocusReason);
    empty->selectAll();
    return true;
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
    const FavoritesResult result = m_bEditing && operation == CFavoritesStore::Add
                                       ? m_store.Edit(m_original, m_strName, m_strURL)
                                       : m_store.Update(operation, m_strName, m_strURL);
    // A refusal is told and the dialog stays open, so the entry can be changed or cancelled;
    // a favorite to delete that is gone leaves nothing to do here.
    if (!FavoritesMessages::Tell(result)) {
        if (operation == CFavoritesStore::Delete && result.is(FavoritesResult::Code::Gone))
            EndDialog(IDCANCEL);
        return;
    }
    MessageBox::Show(QStringLiteral("Successfully!"), MB_OK);
    EndDialog(IDOK);
}
