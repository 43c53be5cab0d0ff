// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CLeftView.h"

#include "CatalogData.h"
#include "CatalogTreeItem.h"
#include "LinkMarkDelegate.h"
#include "NameOrder.h"
#include "app/CKestrinNewsReaderDoc.h"
#include "app/Globals.h"
#include "app/SettingsKeys.h"
#include "favorites/CFavoritesStore.h"
#include "favorites/ui/FavoritesMessages.h"
#include "platform/WaitCursor.h"
#include "res/Resource.h"
#include "res/StringTable.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <map>
#include <numeric>
#include <vector>

namespace {
// Far wider than any gap between a text's advance and the width it is drawn in.
constexpr int kRankingSlack = 32;
// Characters up to here are summed one by one when ranking rows by width.
constexpr char16_t kLastSummed = 0x024F;
const QString kRootText = QStringLiteral("Kestrin News Reader");
const QString kFavoritesText = QStringLiteral("My Favorites");
} // namespace

CLeftView::CLeftView(Profile& profile, CFavoritesStore& favorites, QWidget* parent)
    : QTreeWidget(parent), m_profile(profile), m_favorites(favorites)
{
    setObjectName(QStringLiteral("CLeftView"));
    setAccessibleName(QStringLiteral("Newspapers and favorites"));
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIndentation(19);
    setTextElideMode(Qt::ElideNone);
    // The column is fitted to every visible row here, not to a sample of rows.
    header()->setSectionResizeMode(QHeaderView::Fixed);
    header()->setStretchLastSection(false);
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    m_strURLTable.resize(1);
    m_entries.resize(1);
    m_keepExpansion.setSingleShot(true);
    m_keepExpansion.setInterval(0);
    connect(&m_keepExpansion, &QTimer::timeout, this, [this] { KeepExpansion(); });
    m_fitTimer.setSingleShot(true);
    m_fitTimer.setInterval(0);
    connect(&m_fitTimer, &QTimer::timeout, this, [this] { FitColumn(); });
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        RememberExpansion(item, true);
        ScheduleColumnFit();
    });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
        RememberExpansion(item, false);
        ScheduleColumnFit();
    });
    const QJsonArray expanded =
        QJsonDocument::fromJson(
            m_profile.GetString(kSettingsSection, SettingsKeys::ExpandedFavoriteFolders).toUtf8())
            .array();
    for (const QJsonValue& path : expanded) {
        QStringList folder;
        for (const QJsonValue& title : path.toArray())
            folder.append(title.toString());
        if (!folder.isEmpty())
            m_expandedFolders.insert(folder);
    }
    // Favorites and folders are dragged within My Favorites; the file changes, the tree
    // follows it.
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    // An item shown differently (new text, a mark) is measured again.
    connect(model(), &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& first, const QModelIndex& last) {
                for (int row = first.row(); row <= last.row(); ++row) {
                    const int index = first.siblingAtRow(row).data(kIndexRole).toInt();
                    if (index > 0 && static_cast<std::size_t>(index) < m_rowWidths.size())
                        m_rowWidths[static_cast<std::size_t>(index)] = -1;
                }
                ScheduleColumnFit();
            });

    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) {
                if (current)
                    OnSelchanged(current);
            });
    connect(
        &favorites, &CFavoritesStore::favoritesChanged, this,
        [this](const FavoritesUpdate& update) { UpdateFavorites(update.records, update.folders); });
    m_commandMap.on(ID_FILE_PRINT, [this] { OnFilePrint(); });
    m_commandMap.on(ID_FILE_PRINT_DIRECT, [this] { OnFilePrint(); });
}

CKestrinNewsReaderDoc* CLeftView::GetDocument() const
{
    return static_cast<CKestrinNewsReaderDoc*>(document());
}

void CLeftView::OnInitialUpdate()
{
    View::OnInitialUpdate();
    m_nNextIndex = 0;
    m_strURLTable.assign(1, QString());
    m_entries.assign(1, nullptr);
    if (g_strAppDir.isEmpty())
        g_strAppDir = CurrentWorkingDirectory();
    RebuildTree(m_profile.GetMode(kSettingsSection, SettingsKeys::CataView));
}

void CLeftView::RebuildTree(CatalogView mode)
{
    QList<FavoriteRecord> records;
    QList<QStringList> folders;
    FavoritesMessages::Tell(m_favorites.ReadAll(records, folders));
    BuildTree(mode, records, folders);
}

void CLeftView::BuildTree(CatalogView mode, const QList<FavoriteRecord>& records,
                          const QList<QStringList>& folders)
{
    clear();
    m_nNextIndex = 1;
    m_expandAfterBuild.clear();
    m_favoriteItems.clear();
    m_folderItems.clear();
    // Every favorite and site takes a slot: the table grows once.
    std::size_t slotCount = static_cast<std::size_t>(records.size()) +
                            CatalogData::National().size() + CatalogData::World().size() + 1;
    for (const CatalogNode& state : CatalogData::States())
        slotCount += state.entries.size();
    m_strURLTable.reserve(slotCount);
    m_entries.reserve(slotCount);

    // Built detached and attached once: the view then lays out the whole tree one time.
    auto* root = new CatalogTreeItem(kRootText);
    QTreeWidgetItem* favorites = AppendNode(root, kFavoritesText);
    m_pFavoritesNode = favorites;
    AddFavorites(records, folders);

    if (mode == CatalogView::ByContent) {
        AddContentCatalog(root);
    } else {
        AddNationalCatalog(root);
        AddWorldCatalog(root);
        AddStatesCatalog(root);
    }

    addTopLevelItem(root);
    // Expansion set on detached items does not reach the view; set it now.
    root->setExpanded(true);
    favorites->setExpanded(true);
    for (QTreeWidgetItem* node : std::as_const(m_expandAfterBuild))
        node->setExpanded(true);
    m_expandAfterBuild.clear();
    RestoreExpansion();
    setCurrentItem(nullptr);
    clearSelection();
    m_rowWidths.assign(static_cast<std::size_t>(m_nNextIndex), -1);
    ScheduleColumnFit();
    emit treeRebuilt();
}

QTreeWidgetItem* CLeftView::AppendNode(QTreeWidgetItem* parent, const QString& text)
{
    auto* item = new CatalogTreeItem(text);
    parent->addChild(item);
    return item;
}

QTreeWidgetItem* CLeftView::AddSite(QTreeWidgetItem* parent, const QString& name,
                                    const QString& url)
{
    // Sorted among the siblings; after any that compare equal.
    int low = 0;
    int high = parent->childCount();
    while (low < high) {
        const int middle = (low + high) / 2;
        if (m_collator.compare(name, parent->child(middle)->text(0)) < 0)
            high = middle;
        else
            low = middle + 1;
    }
    auto* item = new CatalogTreeItem(name, TakeSlot(url));
    parent->insertChild(low, item);
    return item;
}

void CLeftView::AddFavorites(const QList<FavoriteRecord>& records,
                             const QList<QStringList>& folders)
{
    m_folderItems.reserve(folders.size());
    for (const QStringList& folder : folders)
        (void)EnsureFolder(folder);
    // Made in file order, so their indices are 1 to F; a file keeps a folder's favorites
    // together, so the folder is looked up only when it changes.
    std::vector<QTreeWidgetItem*> folderOf;
    folderOf.reserve(std::size_t(records.size()));
    m_favoriteItems.reserve(records.size());
    const QStringList* lastPath = nullptr;
    QTreeWidgetItem* folder = m_pFavoritesNode;
    for (const FavoriteRecord& record : records) {
        if (!lastPath || record.folder != *lastPath) {
            folder = EnsureFolder(record.folder);
            lastPath = &record.folder;
        }
        folderOf.push_back(folder);
        m_favoriteItems.append(new CatalogTreeItem(record.title, TakeSlot(record.url)));
    }

    // Each folder's favorites sorted and added at once: inserting one by one moves the
    // whole list each time.
    QHash<QTreeWidgetItem*, std::vector<int>> inFolder;
    for (std::size_t i = 0; i < folderOf.size(); ++i)
        inFolder[folderOf[i]].push_back(int(i));
    PlaceFolders();
    for (auto it = inFolder.cbegin(); it != inFolder.cend(); ++it) {
        const std::vector<int>& positions = it.value();
        QList<QTreeWidgetItem*> sorted;
        sorted.reserve(qsizetype(positions.size()));
        for (const int k : NameOrder::Sorted(m_collator, int(positions.size()), [&](int at) {
                 return records.at(positions[std::size_t(at)]).title;
             }))
            sorted.append(m_favoriteItems.at(positions[std::size_t(k)]));
        it.key()->addChildren(sorted);
    }
}

int CLeftView::TakeSlot(const QString& url)
{
    const int index = m_nNextIndex++;
    const auto slot = static_cast<std::size_t>(index);
    if (slot >= m_strURLTable.size())
        m_strURLTable.resize(slot + 1);
    m_strURLTable[slot] = url;
    if (slot >= m_entries.size())
        m_entries.resize(slot + 1);
    m_entries[slot] = nullptr;
    return index;
}

const CLeftView::CatalogGroup& CLeftView::Group(std::span<const CatalogEntry> entries)
{
    auto known = m_catalogGroups.find(entries.data());
    if (known != m_catalogGroups.end())
        return known->second;
    CatalogGroup group;
    group.names.reserve(entries.size());
    group.urls.reserve(entries.size());
    for (const CatalogEntry& entry : entries) {
        group.names.push_back(QString::fromUtf8(entry.name));
        group.urls.push_back(QString::fromUtf8(entry.url));
    }
    group.order = NameOrder::Sorted(m_collator, int(entries.size()),
                                    [&](int i) { return group.names[std::size_t(i)]; });
    return m_catalogGroups.emplace(entries.data(), std::move(group)).first->second;
}

std::vector<QTreeWidgetItem*> CLeftView::NewEntryItems(std::span<const CatalogEntry> entries)
{
    const CatalogGroup& group = Group(entries);
    std::vector<QTreeWidgetItem*> items;
    items.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int index = TakeSlot(group.urls[i]);
        m_entries[static_cast<std::size_t>(index)] = &entries[i];
        items.push_back(new CatalogTreeItem(group.names[i], index));
    }
    return items;
}

void CLeftView::AddEntries(QTreeWidgetItem* node, std::span<const CatalogEntry> entries)
{
    const std::vector<QTreeWidgetItem*> items = NewEntryItems(entries);
    QList<QTreeWidgetItem*> sorted;
    sorted.reserve(qsizetype(items.size()));
    for (const int i : Group(entries).order)
        sorted.append(items[std::size_t(i)]);
    node->addChildren(sorted);
}

void CLeftView::AddNationalCatalog(QTreeWidgetItem* root)
{
    QTreeWidgetItem* node = AppendNode(root, QStringLiteral("National"));
    AddEntries(node, CatalogData::National());
    Expand(node);
}

void CLeftView::AddWorldCatalog(QTreeWidgetItem* root)
{
    QTreeWidgetItem* node = AppendNode(root, QStringLiteral("World"));
    AddEntries(node, CatalogData::World());
}

void CLeftView::AddStatesCatalog(QTreeWidgetItem* root)
{
    QTreeWidgetItem* states = AppendNode(root, QStringLiteral("American States"));
    QList<QTreeWidgetItem*> nodes;
    for (const CatalogNode& state : CatalogData::States())
        nodes.append(AppendNode(states, QString::fromUtf8(state.text)));
    Expand(states);
    qsizetype i = 0;
    for (const CatalogNode& state : CatalogData::States())
        AddEntries(nodes.at(i++), state.entries);
}

void CLeftView::AddContentCatalog(QTreeWidgetItem* root)
{
    // The groups of every kind, in the order of the catalog by area.
    std::vector<CatalogNode> groups{{"National", CatalogData::National()},
                                    {"World", CatalogData::World()}};
    for (const CatalogNode& state : CatalogData::States())
        groups.push_back(state);
    const std::size_t kindCount = CatalogData::Kinds().size();
    auto slot = [&](CatalogKind kind, std::size_t group) {
        return static_cast<std::size_t>(kind) * groups.size() + group;
    };

    // Nodes first, in display order, only where sites go; then the sites in stored order,
    // so their indices are those of the catalog by area.
    std::vector<QTreeWidgetItem*> nodes(kindCount * groups.size(), nullptr);
    for (std::size_t group = 0; group < groups.size(); ++group) {
        for (const CatalogEntry& entry : groups[group].entries)
            nodes[slot(entry.kind, group)] = root; // marks the pair as used
    }
    for (const CatalogKind kind : CatalogData::Kinds()) {
        QTreeWidgetItem* kindNode = nullptr;
        for (std::size_t group = 0; group < groups.size(); ++group) {
            QTreeWidgetItem*& node = nodes[slot(kind, group)];
            if (!node)
                continue;
            // The kinds start closed: the catalog shows as its nine kinds under My Favorites.
            if (!kindNode)
                kindNode = AppendNode(root, QString::fromUtf8(CatalogData::KindText(kind)));
            node = AppendNode(kindNode, QString::fromUtf8(groups[group].text));
        }
    }
    // Each node takes its group's sites of its kind, in the group's order by name.
    std::vector<QList<QTreeWidgetItem*>> sites(nodes.size());
    for (std::size_t group = 0; group < groups.size(); ++group) {
        const std::span<const CatalogEntry> entries = groups[group].entries;
        const std::vector<QTreeWidgetItem*> items = NewEntryItems(entries);
        for (const int i : Group(entries).order)
            sites[slot(entries[std::size_t(i)].kind, group)].append(items[std::size_t(i)]);
    }
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (!sites[i].isEmpty())
            nodes[i]->addChildren(sites[i]);
    }
}

void CLeftView::Expand(QTreeWidgetItem* node)
{
    // A tree still being built is not in the view yet, which would drop the expansion.
    if (node->treeWidget())
        node->setExpanded(true);
    else
        m_expandAfterBuild.append(node);
}

QString CLeftView::urlAt(int index) const
{
    if (index <= 0 || static_cast<std::size_t>(index) >= m_strURLTable.size())
        return {};
    return m_strURLTable[static_cast<std::size_t>(index)];
}

void CLeftView::OpenItem(QTreeWidgetItem* item)
{
    if (!item)
        return;
    if (currentItem() == item)
        OnSelchanged(item);
    else
        setCurrentItem(item);
}

const CatalogEntry* CLeftView::catalogEntryAt(int index) const
{
    if (index <= 0 || static_cast<std::size_t>(index) >= m_entries.size())
        return nullptr;
    return m_entries[static_cast<std::size_t>(index)];
}

void CLeftView::OpenSelected()
{
    QTreeWidgetItem* item = currentItem();
    if (item && item->isSelected())
        OnSelchanged(item);
}

void CLeftView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        OpenSelected();
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void CLeftView::mousePressEvent(QMouseEvent* event)
{
    // A click on another item selects it, which opens it; a click on the item already
    // selected opens it again (the page may have moved on since).
    QTreeWidgetItem* before = currentItem();
    const QPoint position = event->position().toPoint();
    QTreeWidgetItem* hit = itemAt(position);
    const bool onText = hit && visualItemRect(hit).contains(position);
    QTreeWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && onText && hit == before && currentItem() == hit)
        OpenSelected();
}

void CLeftView::changeEvent(QEvent* event)
{
    QTreeWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        std::fill(m_rowWidths.begin(), m_rowWidths.end(), -1);
        m_charAdvances.clear();
        ScheduleColumnFit();
    }
}

void CLeftView::ScheduleColumnFit()
{
    m_fitTimer.start();
}

void CLeftView::FitColumn()
{
    header()->resizeSection(0, sizeHintForColumn(0));
}

int CLeftView::RowWidth(const QModelIndex& row) const
{
    const int index = row.data(kIndexRole).toInt();
    const bool cached = index > 0 && static_cast<std::size_t>(index) < m_rowWidths.size();
    if (cached && m_rowWidths[static_cast<std::size_t>(index)] >= 0)
        return m_rowWidths[static_cast<std::size_t>(index)];
    const int width = sizeHintForIndex(row).width();
    if (cached)
        m_rowWidths[static_cast<std::size_t>(index)] = width;
    return width;
}

int CLeftView::TextAdvance(const QString& text, const QFontMetrics& metrics) const
{
    // Summed per character for the scripts of names here, which need no shaping; the
    // rest is shaped as it would be drawn.
    if (m_charAdvances.empty())
        m_charAdvances.assign(kLastSummed + 1, -1);
    int advance = 0;
    for (const QChar c : text) {
        if (c.unicode() > kLastSummed)
            return metrics.horizontalAdvance(text);
        int& known = m_charAdvances[c.unicode()];
        if (known < 0)
            known = metrics.horizontalAdvance(c);
        advance += known;
    }
    return advance;
}

int CLeftView::sizeHintForColumn(int column) const
{
    if (column != 0)
        return QTreeWidget::sizeHintForColumn(column);
    // Every row a user can scroll to (not hidden, all its ancestors expanded), each row
    // before its children and those from the last to the first. Walked by model index: an
    // item finds its own row by searching its siblings, which over a list of favorites
    // makes the walk quadratic.
    struct Level
    {
        QModelIndex parent;
        int next;
        int indent;
    };
    const int step = indentation();
    const QAbstractItemModel* items = model();
    std::vector<Level> levels{{QModelIndex(), items->rowCount() - 1, rootIsDecorated() ? step : 0}};
    // Measuring a row the way it is drawn costs a text layout through the style; the
    // text's advance ranks the rows for a fraction of that. Every item has the same
    // padding, so only rows near the widest by advance can be the widest drawn. Rows whose
    // indent, advance and mark add up the same are drawn as wide, give or take a pixel of
    // kerning: the first of each is measured, or a long list of like names ("Paper 1" to
    // "Paper 99999") costs a text layout each.
    struct Candidate
    {
        QModelIndex index;
        int indent;
    };
    std::map<int, Candidate> firstByEstimate;
    int widestEstimate = 0;
    const QFontMetrics metrics(font());
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.next < 0) {
            levels.pop_back();
            continue;
        }
        const int row = level.next--;
        const QModelIndex parent = level.parent;
        const int indent = level.indent;
        if (isRowHidden(row, parent))
            continue;
        const QModelIndex index = items->index(row, 0, parent);
        const QTreeWidgetItem* item = itemFromIndex(index);
        int estimate = indent + TextAdvance(item->text(0), metrics);
        if (item->data(0, LinkMarkDelegate::kMovedRole).toBool())
            estimate += LinkMarkDelegate::kMarkWidth;
        if (estimate >= widestEstimate - kRankingSlack) {
            widestEstimate = std::max(widestEstimate, estimate);
            firstByEstimate.try_emplace(estimate, Candidate{index, indent});
        }
        const int children = items->rowCount(index);
        if (children > 0 && isExpanded(index))
            levels.push_back({index, children - 1, indent + step});
    }
    int widest = 0;
    for (auto it = firstByEstimate.lower_bound(widestEstimate - kRankingSlack);
         it != firstByEstimate.end(); ++it)
        widest = std::max(widest, it->second.indent + RowWidth(it->second.index));
    return widest;
}

void CLeftView::OnSelchanged(QTreeWidgetItem* item)
{
    if (m_bQuietSelection)
        return;
    const WaitCursor wait;
    if (item->childCount() > 0 || IsFolder(item))
        return;
    window()->setWindowTitle(item->text(0) + QStringLiteral(" - ") +
                             StringTable::Load(IDS_DISPLAY_NAME));
    const int index = item->data(0, kIndexRole).toInt();
    if (index == 0)
        return;
    const QString url = urlAt(index);
    if (!url.isEmpty())
        emit openRequested(url);
    g_strCurrentURL = url;
}

void CLeftView::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const
{
    // Dotted lines and boxed expand buttons, drawn the same under every style.
    painter->save();
    const int step = indentation();
    QPen dotted(palette().color(QPalette::Mid));
    dotted.setStyle(Qt::DotLine);
    const int midY = rect.center().y();

    // Ancestors that have later siblings continue their vertical line through this row.
    int level = 0;
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        ++level;
    QModelIndex ancestor = index.parent();
    for (int depth = level - 1; depth >= 0 && ancestor.isValid(); --depth) {
        if (ancestor.sibling(ancestor.row() + 1, 0).isValid()) {
            const int x = rect.left() + depth * step + step / 2;
            painter->setPen(dotted);
            painter->drawLine(x, rect.top(), x, rect.bottom());
        }
        ancestor = ancestor.parent();
    }

    const int x = rect.left() + level * step + step / 2;
    const bool hasSibling = index.sibling(index.row() + 1, 0).isValid();
    const bool hasAbove = index.row() > 0 || index.parent().isValid();
    painter->setPen(dotted);
    painter->drawLine(x, hasAbove ? rect.top() : midY, x, hasSibling ? rect.bottom() : midY);
    painter->drawLine(x, midY, rect.left() + (level + 1) * step, midY);

    if (model()->hasChildren(index)) {
        const QRect box(x - 4, midY - 4, 8, 8);
        painter->setPen(palette().color(QPalette::Dark));
        painter->setBrush(palette().color(QPalette::Base));
        painter->drawRect(box);
        painter->setPen(palette().color(QPalette::Text));
        painter->drawLine(box.left() + 2, midY, box.right() - 2, midY);
        if (!isExpanded(index))
            painter->drawLine(x, box.top() + 2, x, box.bottom() - 2);
    }
    painter->restore();
}
