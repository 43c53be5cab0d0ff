// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CEditMyFavoriteDlg.h"

#include "CAddModifyFavoriteDlg.h"
#include "CFavoriteCommands.h"
#include "CFolderCommands.h"
#include "FavoritesMessages.h"
#include "FavoritesSearchProxy.h"
#include "FavoritesTreeModel.h"
#include "favorites/CFavoritesStore.h"
#include "platform/GridLineDelegate.h"
#include "platform/MessageBox.h"
#include "res/Resource.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTreeView>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>

namespace {
// The widths of No., Newspaper's Name and Newspaper's URL.
constexpr int kColumnWidths[] = {50, 200, 200};

// A favorite found again after a change, wherever it went now: by name and address, twins in
// their order.
QString KeyOf(const FavoriteRecord& record)
{
    return record.title + QChar(0) + record.url;
}
} // namespace

CEditMyFavoriteDlg::CEditMyFavoriteDlg(CFavoritesStore& store, QWidget* parent)
    : Dialog(IDD_EDIT_MY_FAVORITE, parent), m_store(store),
      m_listFavorites(qobject_cast<QTreeView*>(GetDlgItem(IDC_FAVORITE_LIST))),
      m_model(new FavoritesTreeModel(this)), m_proxy(new FavoritesSearchProxy(*m_model, this))
{
    m_listFavorites->setModel(m_proxy);
    // The folders open in the name column; the numbers stay in a column of their own.
    m_listFavorites->setRootIsDecorated(true);
    m_listFavorites->setTreePosition(FavoritesTreeModel::Name);
    m_listFavorites->setItemDelegate(new GridLineDelegate(m_listFavorites));
    m_listFavorites->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_listFavorites, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        const QModelIndex index = m_listFavorites->indexAt(at);
        if (!index.isValid())
            return;
        const std::unique_ptr<QMenu> menu(ContextMenuFor(index));
        menu->exec(m_listFavorites->viewport()->mapToGlobal(at));
    });
    connect(&store, &CFavoritesStore::favoritesChanged, this,
            [this](const FavoritesUpdate& update) { ShowUpdate(update); });
    m_listFavorites->setAccessibleName(QStringLiteral("My Favorites"));
    m_listFavorites->setAccessibleDescription(
        QStringLiteral("Double-click to edit or delete the record"));
    m_listFavorites->viewport()->installEventFilter(this);
    m_listFavorites->installEventFilter(this);
    OnCommand(IDC_EDIT_FAVORITE, [this] { OnEditRecord(); });
    OnCommand(IDC_NEW_FOLDER, [this] {
        // Inside the folder in focus, beside the favorite in focus, or at the top.
        const QModelIndex current = m_proxy->mapToSource(m_listFavorites->currentIndex());
        OnNewFolder(m_model->isFolder(current) ? m_model->folderAt(current)
                                               : m_model->refAt(current).record.folder);
    });
    OnCommand(IDC_MOVE_FAVORITES, [this] { OnMoveRecords(); });
    m_search = qobject_cast<QLineEdit*>(GetDlgItem(IDC_FAVORITE_SEARCH));
    m_search->setPlaceholderText(QStringLiteral("Search by name or address"));
    m_search->setAccessibleName(QStringLiteral("Search favorites"));
    connect(m_search, &QLineEdit::textChanged, this, [this] { ApplySearch(); });
    connect(m_listFavorites->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { UpdateEditButton(); });
    // What the user opens and closes is remembered; what a search opens is not.
    const auto remember = [this](const QModelIndex& index, bool expanded) {
        if (m_restoring || !m_proxy->searchText().isEmpty())
            return;
        const QStringList path = m_model->folderAt(m_proxy->mapToSource(index));
        if (expanded)
            m_expanded.insert(path);
        else
            m_expanded.remove(path);
    };
    connect(m_listFavorites, &QTreeView::expanded, this,
            [remember](const QModelIndex& index) { remember(index, true); });
    connect(m_listFavorites, &QTreeView::collapsed, this,
            [remember](const QModelIndex& index) { remember(index, false); });
}

CEditMyFavoriteDlg::~CEditMyFavoriteDlg() = default;

bool CEditMyFavoriteDlg::OnInitDialog()
{
    Dialog::OnInitDialog();
    // A header click orders the view only, and selects nothing; the file keeps its order,
    // which "No." gives back.
    QHeaderView* header = m_listFavorites->header();
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    header->setSortIndicator(FavoritesTreeModel::Number, Qt::AscendingOrder);
    header->setSortIndicatorShown(true);
    connect(header, &QHeaderView::sortIndicatorChanged, this,
            [this](int column, Qt::SortOrder order) { ApplySort(column, order); });
    // Never narrower than its heading with the sort arrow, in the skin's font and padding.
    header->ensurePolished();
    for (int column = 0; column < FavoritesTreeModel::ColumnCount; ++column) {
        m_listFavorites->setColumnWidth(
            column, std::max(kColumnWidths[column], header->sectionSizeHint(column)));
    }
    FillFavoritesList();
    // The keys act on the list at once: arrows, F2, Delete; the first row is the one in hand.
    if (m_proxy->rowCount() > 0)
        SelectRow(m_proxy->mapToSource(m_proxy->index(0, 0)));
    m_listFavorites->setFocus(Qt::OtherFocusReason);
    return false;
}

void CEditMyFavoriteDlg::FillFavoritesList()
{
    FavoritesUpdate update;
    const FavoritesResult read =
        m_store.ReadAll(update.records, update.folders, &update.folderPlaces);
    FavoritesMessages::Tell(read);
    if (read.is(FavoritesResult::Code::NoParser))
        update = {};
    ShowUpdate(update);
}

void CEditMyFavoriteDlg::ShowUpdate(const FavoritesUpdate& update)
{
    // What was selected is found again: favorites by name and address, twins in their
    // order; folders by path, or a folder just renamed by its place in the file.
    QHash<QString, int> selectedFavorites;
    QList<std::pair<QStringList, qsizetype>> selectedFolders;
    for (const QModelIndex& index : SelectedRows()) {
        if (m_model->isFolder(index))
            selectedFolders.append({m_model->folderAt(index), m_model->fileOrderAt(index)});
        else
            ++selectedFavorites[KeyOf(m_model->refAt(index).record)];
    }
    const QModelIndex current = m_proxy->mapToSource(m_listFavorites->currentIndex());
    const bool currentIsFolder = m_model->isFolder(current);
    const std::pair<QStringList, qsizetype> currentFolder{
        m_model->folderAt(current), current.isValid() ? m_model->fileOrderAt(current) : -1};
    const std::optional<FavoriteRecord> currentRecord =
        current.isValid() && !currentIsFolder ? std::optional(m_model->refAt(current).record)
                                              : std::nullopt;

    m_model->Reset(update);
    RestoreExpansion();

    const auto findFolder = [this](const std::pair<QStringList, qsizetype>& folder) {
        const QModelIndex byPath = m_model->indexOfFolder(folder.first);
        if (byPath.isValid())
            return byPath;
        const QModelIndex byPlace = m_model->indexAtFileOrder(folder.second);
        return m_model->isFolder(byPlace) &&
                       m_model->folderAt(byPlace).size() == folder.first.size()
                   ? byPlace
                   : QModelIndex();
    };
    QModelIndex newCurrent = currentIsFolder ? findFolder(currentFolder) : QModelIndex();
    QItemSelection selection;
    const auto selectRow = [&](const QModelIndex& index) {
        const QModelIndex shown = m_proxy->mapFromSource(index);
        if (shown.isValid())
            selection.select(shown, shown.siblingAtColumn(FavoritesTreeModel::ColumnCount - 1));
    };
    for (qsizetype i = 0; i < update.records.size(); ++i) {
        const FavoriteRecord& record = update.records.at(i);
        if (currentRecord && !newCurrent.isValid() && record.title == currentRecord->title &&
            record.url == currentRecord->url)
            newCurrent = m_model->indexOfRecord(i);
        if (selectedFavorites.isEmpty())
            continue;
        const auto found = selectedFavorites.find(KeyOf(record));
        if (found == selectedFavorites.end())
            continue;
        if (--found.value() == 0)
            selectedFavorites.erase(found);
        selectRow(m_model->indexOfRecord(i));
    }
    for (const auto& folder : std::as_const(selectedFolders))
        selectRow(findFolder(folder));
    QItemSelectionModel* selectionModel = m_listFavorites->selectionModel();
    selectionModel->select(selection, QItemSelectionModel::ClearAndSelect);
    if (const QModelIndex shown = m_proxy->mapFromSource(newCurrent); shown.isValid()) {
        selectionModel->setCurrentIndex(shown, QItemSelectionModel::NoUpdate);
        // Still in sight, in the folder it went to.
        m_listFavorites->scrollTo(shown);
    }
    UpdateEditButton();
}

void CEditMyFavoriteDlg::ApplySearch()
{
    const QString text = m_search ? m_search->text().trimmed() : QString();
    if (m_proxy->SetSearchText(text))
        RestoreExpansion();
}

void CEditMyFavoriteDlg::RestoreExpansion()
{
    m_restoring = true;
    if (!m_proxy->searchText().isEmpty()) {
        // The folders holding what was found are opened, the rest are not shown.
        m_listFavorites->expandAll();
    } else {
        m_listFavorites->collapseAll();
        for (const QStringList& path : std::as_const(m_expanded)) {
            const QModelIndex index = m_proxy->mapFromSource(m_model->indexOfFolder(path));
            if (index.isValid())
                m_listFavorites->expand(index);
        }
    }
    m_restoring = false;
}

void CEditMyFavoriteDlg::ApplySort(int column, Qt::SortOrder order)
{
    // The file's own order needs no sorting at all.
    if (column == FavoritesTreeModel::Number && order == Qt::AscendingOrder)
        m_proxy->sort(-1);
    else
        m_proxy->sort(column, order);
}

QMenu* CEditMyFavoriteDlg::ContextMenuFor(const QModelIndex& index)
{
    auto* menu = new QMenu(this);
    const QModelIndex row = m_proxy->mapToSource(index);
    if (m_model->isFolder(row)) {
        const QStringList path = m_model->folderAt(row);
        const int favorites = m_model->favoritesIn(row);
        menu->addAction(QStringLiteral("Sort Folder by Name"), this,
                        [this, path] { CFolderCommands::SortByName(m_store, path); });
        menu->addAction(QStringLiteral("New Folder\u2026"), this,
                        [this, path] { OnNewFolder(path); });
        menu->addAction(QStringLiteral("Rename\u2026"), this,
                        [this, path] { CFolderCommands::Rename(m_store, path, this); });
        menu->addAction(QStringLiteral("Delete\u2026"), this, [this, path, favorites] {
            CFolderCommands::Delete(m_store, path, favorites);
        });
    } else if (row.isValid()) {
        // On the favorites selected, or on this one alone when it is not among them.
        if (!m_listFavorites->selectionModel()->isRowSelected(index.row(), index.parent()))
            SelectRow(row);
        menu->addAction(QStringLiteral("Move to Folder\u2026"), this, [this] { OnMoveRecords(); });
    }
    return menu;
}

void CEditMyFavoriteDlg::OnNewFolder(const QStringList& parent)
{
    CFolderCommands::NewFolder(m_store, parent, this);
}

void CEditMyFavoriteDlg::OnMoveRecords()
{
    CFolderCommands::MoveTo(m_store, SelectedFavorites(), this);
}

QModelIndexList CEditMyFavoriteDlg::SelectedRows() const
{
    QModelIndexList rows;
    for (const QModelIndex& index : m_listFavorites->selectionModel()->selectedRows())
        rows.append(m_proxy->mapToSource(index));
    std::sort(rows.begin(), rows.end(), [this](const QModelIndex& a, const QModelIndex& b) {
        return m_model->fileOrderAt(a) < m_model->fileOrderAt(b);
    });
    return rows;
}

QList<FavoriteRef> CEditMyFavoriteDlg::SelectedFavorites() const
{
    QList<FavoriteRef> refs;
    for (const QModelIndex& index : SelectedRows()) {
        if (!m_model->isFolder(index))
            refs.append(m_model->refAt(index));
    }
    return refs;
}

void CEditMyFavoriteDlg::UpdateEditButton()
{
    // Edit changes one favorite: with several selected it could only guess which.
    const QModelIndexList rows = SelectedRows();
    GetDlgItem(IDC_EDIT_FAVORITE)->setEnabled(rows.size() == 1 && !m_model->isFolder(rows.first()));
}

void CEditMyFavoriteDlg::SelectRow(const QModelIndex& index)
{
    const QModelIndex shown = m_proxy->mapFromSource(index);
    if (!shown.isValid())
        return;
    m_listFavorites->selectionModel()->setCurrentIndex(shown, QItemSelectionModel::ClearAndSelect |
                                                                  QItemSelectionModel::Rows);
    m_listFavorites->scrollTo(shown);
}

void CEditMyFavoriteDlg::SelectRecord(const FavoriteRecord& record, qsizetype near)
{
    // Twins are told apart by their place: the one nearest the favorite that was chosen.
    const QList<FavoriteRecord>& records = m_model->records();
    qsizetype best = -1;
    for (qsizetype i = 0; i < records.size(); ++i) {
        const FavoriteRecord& shown = records.at(i);
        if (shown.title == record.title && shown.url == record.url &&
            (best < 0 || std::abs(i - near) < std::abs(best - near)))
            best = i;
    }
    if (best >= 0)
        SelectRow(m_model->indexOfRecord(best));
}

void CEditMyFavoriteDlg::OnEditRecord()
{
    const QModelIndexList rows = SelectedRows();
    if (rows.size() != 1)
        return;
    if (m_model->isFolder(rows.first())) {
        CFolderCommands::Rename(m_store, m_model->folderAt(rows.first()), this);
        return;
    }
    const FavoriteRef ref = m_model->refAt(rows.first());
    FavoriteRecord edited;
    // The list followed the change already.
    if (CFavoriteCommands::Edit(m_store, ref, &edited))
        SelectRecord(edited, ref.ordinal);
}

void CEditMyFavoriteDlg::OnDeleteRecords()
{
    const QModelIndexList rows = SelectedRows();
    // A folder goes alone, after a question naming it and what it holds.
    if (rows.size() == 1 && m_model->isFolder(rows.first())) {
        CFolderCommands::Delete(m_store, m_model->folderAt(rows.first()),
                                m_model->favoritesIn(rows.first()));
        return;
    }
    CFavoriteCommands::Delete(m_store, SelectedFavorites());
}

void CEditMyFavoriteDlg::OnOK()
{
    // New-record mode with empty fields, the cursor in the name as Add Current Page has it.
    FavoriteRecord added;
    if (!CFavoriteCommands::Add(m_store, {}, {}, &added))
        return;
    FillFavoritesList();
    SelectRecord(added, m_model->records().size() - 1);
}

void CEditMyFavoriteDlg::OnDblclkFavoriteList(const QModelIndex& index)
{
    const QModelIndex row = m_proxy->mapToSource(index);
    if (!row.isValid() || m_model->isFolder(row))
        return;
    const FavoriteRef ref = m_model->refAt(row);
    CAddModifyFavoriteDlg dialog(m_store);
    dialog.m_bExisting = true;
    dialog.m_strName = ref.record.title;
    dialog.m_strURL = ref.record.url;
    dialog.m_folder = ref.record.folder;
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
        const QModelIndex index = m_listFavorites->indexAt(mouse->position().toPoint());
        // A folder opens or closes as in any tree.
        if (mouse->button() == Qt::LeftButton && !m_model->isFolder(m_proxy->mapToSource(index))) {
            OnDblclkFavoriteList(index);
            return true;
        }
    }
    return Dialog::eventFilter(watched, event);
}
