// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CAddModifyFavoriteDlg.h"

#include "FavoritesMessages.h"
#include "FolderChoice.h"
#include "favorites/CFavoritesStore.h"
#include "platform/MessageBox.h"
#include "res/Resource.h"

#include <QComboBox>
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
    m_folder = ref.record.folder;
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
    auto* folder = qobject_cast<QComboBox*>(GetDlgItem(IDC_FAVORITE_FOLDER));
    folder->setAccessibleName(QStringLiteral("Folder"));
    QList<FavoriteRecord> records;
    QList<QStringList> folders;
    (void)m_store.ReadAll(records, folders);
    const bool adding = !m_bExisting && !m_bEditing;
    FolderChoice::Fill(folder, folders,
                       adding && m_folder.isEmpty() ? m_store.LastFolderAddedTo() : m_folder);
    // A favorite changes its folder by Move to Folder; here only a new one chooses.
    folder->setEnabled(adding);
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

QString CAddModifyFavoriteDlg::SameAddressQuestion(const QList<FavoriteRecord>& records,
                                                   const QString& title, const QString& url)
{
    const QString strTitle = CFavoritesStore::TrimBlanks(title);
    const QString strURL = CFavoritesStore::TrimBlanks(url);
    if (strTitle.isEmpty() || strURL.isEmpty())
        return {};
    const FavoriteRecord* holder = nullptr;
    for (const FavoriteRecord& record : records) {
        // The same name and address is the duplicate the store refuses.
        if (record.url == strURL && record.title == strTitle)
            return {};
        if (record.url == strURL && !holder)
            holder = &record;
    }
    if (!holder)
        return {};
    const QString where =
        holder->folder.isEmpty()
            ? QString()
            : QStringLiteral(" in \u201c%1\u201d").arg(FolderChoice::Shown(holder->folder));
    return QStringLiteral("This address is already in My Favorites as \u201c%1\u201d%2. Add it "
                          "again?")
        .arg(holder->title, where);
}

bool CAddModifyFavoriteDlg::ConfirmAddress() const
{
    QList<FavoriteRecord> records;
    (void)m_store.ReadAll(records);
    const QString question = SameAddressQuestion(records, m_strName, m_strURL);
    return question.isEmpty() || MessageBox::Show(question, MB_YESNO) == IDYES;
}

void CAddModifyFavoriteDlg::Apply(int operation)
{
    UpdateData(true);
    const bool adding = operation == CFavoritesStore::Add && !m_bEditing;
    if (adding && !ConfirmAddress())
        return;
    const FavoritesResult result =
        m_bEditing && operation == CFavoritesStore::Add
            ? m_store.Edit(m_original, m_strName, m_strURL)
        : adding ? m_store.AddTo(FolderChoice::Selected(
                                     qobject_cast<QComboBox*>(GetDlgItem(IDC_FAVORITE_FOLDER))),
                                 m_strName, m_strURL)
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
