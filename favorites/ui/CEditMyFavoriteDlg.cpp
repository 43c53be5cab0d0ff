#include "CEditMyFavoriteDlg.h"

#include "CAddModifyFavoriteDlg.h"
#include "CFavoriteCommands.h"
#include "favorites/CFavoritesStore.h"
#include "platform/MessageBox.h"
#include "res/Resource.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTableWidget>

#include <algorithm>

namespace {
struct Column
{
    const char* heading;
    int width;
};
constexpr Column kColumns[] = {
    {"No.", 50},
    {"Newspaper's Name", 200},
    {"Newspaper's URL", 200},
};
constexpr int kRowIndexRole = Qt::UserRole;
} // namespace

CEditMyFavoriteDlg::CEditMyFavoriteDlg(QWidget* parent)
    : Dialog(IDD_EDIT_MY_FAVORITE, parent),
      m_listFavorites(qobject_cast<QTableWidget*>(GetDlgItem(IDC_FAVORITE_LIST)))
{
    m_listFavorites->viewport()->installEventFilter(this);
    m_listFavorites->installEventFilter(this);
    OnCommand(IDC_EDIT_FAVORITE, [this] { OnEditRecord(); });
    connect(m_listFavorites, &QTableWidget::itemSelectionChanged, this,
            [this] { UpdateEditButton(); });
}

bool CEditMyFavoriteDlg::OnInitDialog()
{
    Dialog::OnInitDialog();
    // Grid lines and full-row selection added to the report view.
    m_listFavorites->setShowGrid(true);
    m_listFavorites->setSelectionBehavior(QAbstractItemView::SelectRows);

    m_listFavorites->setColumnCount(static_cast<int>(std::size(kColumns)));
    int column = 0;
    for (const Column& definition : kColumns) {
        auto* header = new QTableWidgetItem(QString::fromUtf8(definition.heading));
        header->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        m_listFavorites->setHorizontalHeaderItem(column, header);
        m_listFavorites->setColumnWidth(column, definition.width);
        ++column;
    }
    // A header click neither sorts nor selects anything.
    m_listFavorites->horizontalHeader()->setSectionsClickable(false);
    FillFavoritesList();
    return true;
}

void CEditMyFavoriteDlg::FillFavoritesList()
{
    m_listFavorites->setRowCount(0);
    QList<FavoriteRecord> records;
    if (!CFavoritesStore::ReadAll(records))
        return;
    m_listFavorites->setRowCount(static_cast<int>(records.size()));
    for (int i = 0; i < records.size(); ++i) {
        auto* number = new QTableWidgetItem(QString::asprintf("%06d", i + 1));
        number->setData(kRowIndexRole, i);
        m_listFavorites->setItem(i, 0, number);
        m_listFavorites->setItem(i, 1, new QTableWidgetItem(records.at(i).title));
        m_listFavorites->setItem(i, 2, new QTableWidgetItem(records.at(i).url));
    }
    UpdateEditButton();
}

FavoriteRef CEditMyFavoriteDlg::RefAt(int row) const
{
    const int index = m_listFavorites->item(row, 0)->data(kRowIndexRole).toInt();
    return {index,
            {m_listFavorites->item(index, 1)->text(), m_listFavorites->item(index, 2)->text()}};
}

QList<int> CEditMyFavoriteDlg::SelectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& index : m_listFavorites->selectionModel()->selectedIndexes()) {
        if (!rows.contains(index.row()))
            rows.append(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CEditMyFavoriteDlg::UpdateEditButton()
{
    GetDlgItem(IDC_EDIT_FAVORITE)->setEnabled(m_listFavorites->selectionModel()->hasSelection());
}

void CEditMyFavoriteDlg::OnEditRecord()
{
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty())
        return;
    // The row in focus when it is among the selected, else the first selected.
    const int current = m_listFavorites->currentRow();
    const int row = rows.contains(current) ? current : rows.first();
    if (CFavoriteCommands::Edit(RefAt(row)))
        FillFavoritesList();
}

void CEditMyFavoriteDlg::OnDeleteRecords()
{
    QList<FavoriteRef> refs;
    for (const int row : SelectedRows())
        refs.append(RefAt(row));
    if (CFavoriteCommands::Delete(refs))
        FillFavoritesList();
}

void CEditMyFavoriteDlg::OnOK()
{
    CAddModifyFavoriteDlg dialog;
    dialog.m_bExisting = false;
    if (dialog.DoModal() == IDOK)
        FillFavoritesList();
}

void CEditMyFavoriteDlg::OnDblclkFavoriteList(int row)
{
    if (row == -1)
        return;
    QTableWidgetItem* number = m_listFavorites->item(row, 0);
    if (!number)
        return;
    const int index = number->data(kRowIndexRole).toInt();
    CAddModifyFavoriteDlg dialog;
    dialog.m_bExisting = true;
    dialog.m_strName = m_listFavorites->item(index, 1)->text();
    dialog.m_strURL = m_listFavorites->item(index, 2)->text();
    if (dialog.DoModal() == IDOK)
        FillFavoritesList();
}

bool CEditMyFavoriteDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_listFavorites && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier && key->key() == Qt::Key_F2) {
            OnEditRecord();
            return true;
        }
        if (key->modifiers() == Qt::NoModifier && key->key() == Qt::Key_Delete) {
            OnDeleteRecords();
            return true;
        }
    }
    if (watched == m_listFavorites->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            const QModelIndex index = m_listFavorites->indexAt(mouse->position().toPoint());
            OnDblclkFavoriteList(index.isValid() ? index.row() : -1);
            return true;
        }
    }
    return Dialog::eventFilter(watched, event);
}
