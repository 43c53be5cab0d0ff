#include "CLeftView.h"

#include "CatalogData.h"
#include "app/CKestrinNewsReaderDoc.h"
#include "app/Globals.h"
#include "app/SettingsKeys.h"
#include "browser/CKestrinNewsReaderView.h"
#include "favorites/CFavoritesStore.h"
#include "platform/WaitCursor.h"
#include "res/Resource.h"
#include "res/StringTable.h"

#include <QHeaderView>
#include <QPainter>

namespace {
const QString kRootText = QStringLiteral("Kestrin News Reader");
const QString kFavoritesText = QStringLiteral("My Favorites");
} // namespace

CLeftView::CLeftView(Profile& profile, QWidget* parent) : QTreeWidget(parent), m_profile(profile)
{
    setObjectName(QStringLiteral("CLeftView"));
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIndentation(19);
    setTextElideMode(Qt::ElideNone);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    m_strURLTable.resize(1);

    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) {
                if (current)
                    OnSelchanged(current);
            });
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
    if (CKestrinNewsReaderDoc* doc = GetDocument())
        doc->m_pTreeView = this;
    m_nNextIndex = 0;
    m_strURLTable.assign(1, QString());
    if (g_strAppDir.isEmpty())
        g_strAppDir = CurrentWorkingDirectory();
    RebuildTree(m_profile.GetInt(kSettingsSection, SettingsKeys::CataView));
}

void CLeftView::RebuildTree(int mode)
{
    Q_UNUSED(mode); // both catalog modes show the same tree
    clear();
    m_nNextIndex = 1;

    // Built detached and attached once: the view then lays out the whole tree one time.
    auto* root = new QTreeWidgetItem(QStringList{kRootText});
    root->setData(0, kIndexRole, 0);
    QTreeWidgetItem* favorites = AppendNode(root, kFavoritesText);

    QList<FavoriteRecord> records;
    CFavoritesStore::ReadAll(records);
    for (const FavoriteRecord& record : std::as_const(records))
        AddSite(favorites, record.title, record.url);

    AddNationalCatalog(root);
    AddWorldCatalog(root);
    AddStatesCatalog(root);

    addTopLevelItem(root);
    // Expansion set on detached items does not reach the view; set it now.
    root->setExpanded(true);
    favorites->setExpanded(true);
    for (int i = 0; i < root->childCount(); ++i) {
        QTreeWidgetItem* node = root->child(i);
        const QString text = node->text(0);
        node->setExpanded(node == favorites || text == QLatin1String("National") ||
                          text == QLatin1String("American States"));
    }
    setCurrentItem(nullptr);
    clearSelection();
    emit treeRebuilt();
}

QTreeWidgetItem* CLeftView::AppendNode(QTreeWidgetItem* parent, const QString& text)
{
    auto* item = new QTreeWidgetItem(QStringList{text});
    item->setData(0, kIndexRole, 0);
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
    auto* item = new QTreeWidgetItem(QStringList{name});
    item->setData(0, kIndexRole, m_nNextIndex);
    parent->insertChild(low, item);

    const auto slot = static_cast<std::size_t>(m_nNextIndex);
    if (slot >= m_strURLTable.size())
        m_strURLTable.resize(slot + 1);
    m_strURLTable[slot] = url;
    ++m_nNextIndex;
    return item;
}

void CLeftView::AddNationalCatalog(QTreeWidgetItem* root)
{
    QTreeWidgetItem* node = AppendNode(root, QStringLiteral("National"));
    for (const CatalogEntry& entry : CatalogData::National())
        AddSite(node, QString::fromUtf8(entry.name), QString::fromUtf8(entry.url));
    node->setExpanded(true);
}

void CLeftView::AddWorldCatalog(QTreeWidgetItem* root)
{
    QTreeWidgetItem* node = AppendNode(root, QStringLiteral("World"));
    for (const CatalogEntry& entry : CatalogData::World())
        AddSite(node, QString::fromUtf8(entry.name), QString::fromUtf8(entry.url));
}

void CLeftView::AddStatesCatalog(QTreeWidgetItem* root)
{
    QTreeWidgetItem* states = AppendNode(root, QStringLiteral("American States"));
    QList<QTreeWidgetItem*> nodes;
    for (const CatalogNode& state : CatalogData::States())
        nodes.append(AppendNode(states, QString::fromUtf8(state.text)));
    states->setExpanded(true);
    qsizetype i = 0;
    for (const CatalogNode& state : CatalogData::States()) {
        QTreeWidgetItem* node = nodes.at(i++);
        for (const CatalogEntry& entry : state.entries)
            AddSite(node, QString::fromUtf8(entry.name), QString::fromUtf8(entry.url));
    }
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

void CLeftView::OnSelchanged(QTreeWidgetItem* item)
{
    const WaitCursor wait;
    if (item->childCount() > 0)
        return;
    window()->setWindowTitle(item->text(0) + QStringLiteral(" - ") +
                             StringTable::Load(IDS_DISPLAY_NAME));
    const int index = item->data(0, kIndexRole).toInt();
    if (index == 0)
        return;
    const QString url = urlAt(index);
    if (!url.isEmpty()) {
        if (CKestrinNewsReaderDoc* doc = GetDocument(); doc && doc->m_pBrowserView)
            doc->m_pBrowserView->NavigateTo(url);
    }
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
