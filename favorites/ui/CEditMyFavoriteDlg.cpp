// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CEditMyFavoriteDlg.h"

#include "CAddModifyFavoriteDlg.h"
#include "CFavoriteCommands.h"
#include "CFolderCommands.h"
#include "FavoritesMessages.h"
#include "FolderChoice.h"
#include "favorites/CFavoritesStore.h"
#include "platform/MessageBox.h"
#include "res/Resource.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTableWidget>

#include <algorithm>
#include <cstdlib>
#include <optional>

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
    {"Folder", 150},
};
constexpr int kRowIndexRole = Qt::UserRole;
constexpr int kFolderRole = Qt::UserRole + 1;
} // namespace

CEditMyFavoriteDlg::CEditMyFavoriteDlg(CFavoritesStore& store, QWidget* parent)
    : Dialog(IDD_EDIT_MY_FAVORITE, parent), m_store(store),
      m_listFavorites(qobject_cast<QTableWidget*>(GetDlgItem(IDC_FAVORITE_LIST)))
{
    connect(&store, &CFavoritesStore::favoritesChanged, this,
            [this](const FavoritesUpdate& update) { ShowRecords(update.records); });
    m_listFavorites->setAccessibleName(QStringLiteral("My Favorites"));
    m_listFavorites->setAccessibleDescription(
        QStringLiteral("Double-click to edit or delete the record"));
    m_listFavorites->viewport()->installEventFilter(this);
    m_listFavorites->installEventFilter(this);
    OnCommand(IDC_EDIT_FAVORITE, [this] { OnEditRecord(); });
    OnCommand(IDC_NEW_FOLDER, [this] { OnNewFolder(); });
    OnCommand(IDC_MOVE_FAVORITES, [this] { OnMoveRecords(); });
    m_search = qobject_cast<QLineEdit*>(GetDlgItem(IDC_FAVORITE_SEARCH));
    m_search->setPlaceholderText(QStringLiteral("Search by name or address"));
    m_search->setAccessibleName(QStringLiteral("Search favorites"));
    connect(m_search, &QLineEdit::textChanged, this, [this] { ApplySearch(); });
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
        ++column;
    }
    // A header click orders the view only, and selects nothing; the file keeps its order,
    // which "No." gives back.
    QHeaderView* header = m_listFavorites->horizontalHeader();
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    header->setSortIndicator(0, Qt::AscendingOrder);
    header->setSortIndicatorShown(true);
    // Never narrower than its heading with the sort arrow, in the skin's font and padding.
    header->ensurePolished();
    column = 0;
    for (const Column& definition : kColumns) {
        m_listFavorites->setColumnWidth(
            column, std::max(definition.width, header->sectionSizeHint(column)));
        ++column;
    }
    FillFavoritesList();
    // The keys act on the list at once: arrows, F2, Delete; the first row is the one in hand.
    if (m_listFavorites->rowCount() > 0)
        m_listFavorites->selectRow(0);
    m_listFavorites->setFocus(Qt::OtherFocusReason);
    return false;
}

void CEditMyFavoriteDlg::FillFavoritesList()
{
    m_listFavorites->setRowCount(0);
    QList<FavoriteRecord> records;
    const FavoritesResult read = m_store.ReadAll(records);
    FavoritesMessages::Tell(read);
    if (read.is(FavoritesResult::Code::NoParser))
        return;
    ShowRecords(records);
}

void CEditMyFavoriteDlg::ShowRecords(const QList<FavoriteRecord>& records)
{
    // What was selected is found again by name and address, twins in their order.
    QList<FavoriteRecord> selected;
    for (const int row : SelectedRows())
        selected.append(RefAt(row).record);
    const int currentRow = m_listFavorites->currentRow();
    const std::optional<FavoriteRecord> current =
        currentRow >= 0 && m_listFavorites->item(currentRow, 0)
            ? std::optional(RefAt(currentRow).record)
            : std::nullopt;

    m_listFavorites->setSortingEnabled(false);
    m_listFavorites->clearSelection();
    m_listFavorites->setRowCount(0);
    m_listFavorites->setRowCount(static_cast<int>(records.size()));
    int newCurrent = -1;
    for (int i = 0; i < records.size(); ++i) {
        const FavoriteRecord& record = records.at(i);
        auto* number = new QTableWidgetItem(QString::asprintf("%06d", i + 1));
        number->setData(kRowIndexRole, i);
        number->setData(kFolderRole, record.folder);
        m_listFavorites->setItem(i, 0, number);
        m_listFavorites->setItem(i, 1, new QTableWidgetItem(record.title));
        m_listFavorites->setItem(i, 2, new QTableWidgetItem(record.url));
        auto* folder = new QTableWidgetItem(FolderChoice::Shown(record.folder));
        // Said, not shown: an empty cell is the top of My Favorites.
        if (record.folder.isEmpty())
            folder->setData(Qt::AccessibleTextRole, QStringLiteral("My Favorites"));
        m_listFavorites->setItem(i, 3, folder);
        if (current && newCurrent < 0 && record == *current)
            newCurrent = i;
    }
    if (newCurrent >= 0)
        m_listFavorites->setCurrentCell(newCurrent, 0, QItemSelectionModel::NoUpdate);
    for (int i = 0; i < records.size() && !selected.isEmpty(); ++i) {
        if (const qsizetype at = selected.indexOf(records.at(i)); at >= 0) {
            selected.removeAt(at);
            m_listFavorites->selectionModel()->select(m_listFavorites->model()->index(i, 0),
                                                      QItemSelectionModel::Select |
                                                          QItemSelectionModel::Rows);
        }
    }
    // Sorted as the user last chose; rows keep their selection.
    m_listFavorites->setSortingEnabled(true);
    ApplySearch();
    UpdateEditButton();
}

void CEditMyFavoriteDlg::ApplySearch()
{
    const QString text = m_search ? m_search->text().trimmed() : QString();
    const auto holds = [&](int row, int column) {
        const QTableWidgetItem* item = m_listFavorites->item(row, column);
        return item && item->text().contains(text, Qt::CaseInsensitive);
    };
    for (int row = 0; row < m_listFavorites->rowCount(); ++row) {
        const bool shown = text.isEmpty() || holds(row, 1) || holds(row, 2) || holds(row, 3);
        if (m_listFavorites->isRowHidden(row) == shown)
            m_listFavorites->setRowHidden(row, !shown);
    }
}

void CEditMyFavoriteDlg::OnNewFolder()
{
    // Beside the favorite in focus, or at the top of My Favorites.
    const int row = m_listFavorites->currentRow();
    const QStringList parent =
        row >= 0 && m_listFavorites->item(row, 0) ? RefAt(row).record.folder : QStringList();
    CFolderCommands::NewFolder(m_store, parent, this);
}

void CEditMyFavoriteDlg::OnMoveRecords()
{
    QList<FavoriteRef> refs;
    for (const int row : SelectedRows())
        refs.append(RefAt(row));
    CFolderCommands::MoveTo(m_store, refs, this);
}

FavoriteRef CEditMyFavoriteDlg::RefAt(int row) const
{
    const QTableWidgetItem* number = m_listFavorites->item(row, 0);
    return {number->data(kRowIndexRole).toInt(),
            {m_listFavorites->item(row, 1)->text(), m_listFavorites->item(row, 2)->text(),
             number->data(kFolderRole).toStringList()}};
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
    // Edit changes one favorite: with several selected it could only guess which.
    GetDlgItem(IDC_EDIT_FAVORITE)->setEnabled(SelectedRows().size() == 1);
}

void CEditMyFavoriteDlg::SelectRecord(const FavoriteRecord& record, int near)
{
    // Twins are told apart by their place: the one nearest the row that was chosen.
    int best = -1;
    for (int row = 0; row < m_listFavorites->rowCount(); ++row) {
        const FavoriteRecord shown = RefAt(row).record;
        if (shown.title == record.title && shown.url == record.url &&
            (best < 0 || std::abs(row - near) < std::abs(best - near)))
            best = row;
    }
    if (best < 0)
        return;
    m_listFavorites->setCurrentCell(
        best, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_listFavorites->scrollToItem(m_listFavorites->item(best, 0));
}

void CEditMyFavoriteDlg::OnEditRecord()
{
    const QList<int> rows = SelectedRows();
    if (rows.size() != 1)
        return;
    const int row = rows.first();
    FavoriteRecord edited;
    if (!CFavoriteCommands::Edit(m_store, RefAt(row), &edited))
        return;
    FillFavoritesList();
    SelectRecord(edited, row);
}

void CEditMyFavoriteDlg::OnDeleteRecords()
{
    QList<FavoriteRef> refs;
    for (const int row : SelectedRows())
        refs.append(RefAt(row));
    if (CFavoriteCommands::Delete(m_store, refs))
        FillFavoritesList();
}

void CEditMyFavoriteDlg::OnOK()
{
    // New-record mode with empty fields, the cursor in the name as Add Current Page has it.
    FavoriteRecord added;
    if (!CFavoriteCommands::Add(m_store, {}, {}, &added))
        return;
    FillFavoritesList();
    SelectRecord(added, m_listFavorites->rowCount() - 1);
}

void CEditMyFavoriteDlg::OnDblclkFavoriteList(int row)
{
    if (row == -1)
        return;
    QTableWidgetItem* number = m_listFavorites->item(row, 0);
    if (!number)
        return;
    CAddModifyFavoriteDlg dialog(m_store);
    dialog.m_bExisting = true;
    dialog.m_strName = m_listFavorites->item(row, 1)->text();
    dialog.m_strURL = m_listFavorites->item(row, 2)->text();
    dialog.m_folder = number->data(kFolderRole).toStringList();
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
