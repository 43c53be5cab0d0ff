// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CatalogTreeItem.h"

#include "CLeftView.h"
#include "CatalogData.h"

#include <QRegularExpression>
#include <QSet>

namespace {
QString siteKind(const CatalogEntry& entry)
{
    switch (entry.kind) {
    case CatalogKind::Daily:
        return QStringLiteral("Newspaper, %1, daily");
    case CatalogKind::Weekly:
        return QStringLiteral("Newspaper, %1, weekly");
    case CatalogKind::Business:
        return QStringLiteral("Business news, %1");
    case CatalogKind::Alternative:
        return QStringLiteral("Alternative weekly, %1");
    case CatalogKind::Campus:
        return QStringLiteral("Campus paper, %1");
    case CatalogKind::Special:
        return QStringLiteral("Special interest, %1");
    case CatalogKind::Online:
        return QStringLiteral("Online news, %1");
    case CatalogKind::Magazine:
        return QStringLiteral("Magazine, %1");
    case CatalogKind::Broadcast:
        return QStringLiteral("Television or radio, %1");
    }
    return QStringLiteral("Site, %1");
}

QString siteDescription(const CatalogEntry& entry)
{
    const QString place = QString::fromUtf8(entry.place);
    QString text = siteKind(entry);
    // Without a place the kind alone is said.
    return place.isEmpty() ? text.remove(QStringLiteral(", %1")) : text.arg(place);
}

QString counted(int count, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

bool isStateName(const QString& text)
{
    static const QSet<QString> names = [] {
        QSet<QString> set;
        for (const CatalogNode& state : CatalogData::States())
            set.insert(QString::fromUtf8(state.text));
        return set;
    }();
    return names.contains(text);
}

bool isKindName(const QString& text)
{
    for (const CatalogKind kind : CatalogData::Kinds()) {
        if (text == QLatin1String(CatalogData::KindText(kind)))
            return true;
    }
    return false;
}
} // namespace

static_assert(CatalogTreeItem::kIndexRole == CLeftView::kIndexRole);

QVariant CatalogTreeItem::data(int column, int role) const
{
    if (column == 0 && role == kIndexRole)
        return m_index;
    if (column == 0 && (role == Qt::DisplayRole || role == Qt::EditRole))
        return m_text;
    if (column == 0 && role == Qt::AccessibleDescriptionRole)
        return Description();
    if (column == 0 && role == Qt::AccessibleTextRole)
        return SpokenName();
    return QTreeWidgetItem::data(column, role);
}

void CatalogTreeItem::setData(int column, int role, const QVariant& value)
{
    if (column == 0 && role == kIndexRole) {
        if (value.toInt() == m_index)
            return;
        m_index = value.toInt();
    } else if (column == 0 && (role == Qt::DisplayRole || role == Qt::EditRole)) {
        if (value.toString() == m_text)
            return;
        m_text = value.toString();
    } else {
        QTreeWidgetItem::setData(column, role, value);
        return;
    }
    emitDataChanged();
}

QString CatalogTreeItem::SpokenName() const
{
    // "[CA]California" is said "California": the state's code is for the eye.
    const QString name = text(0);
    static const QRegularExpression code(QStringLiteral("^\\[[A-Z]{2}\\]"));
    const QRegularExpressionMatch match = code.match(name);
    return match.hasMatch() && match.capturedLength() < name.size()
               ? name.mid(match.capturedLength())
               : name;
}

QString CatalogTreeItem::Description() const
{
    const auto* tree = qobject_cast<const CLeftView*>(treeWidget());
    if (!tree)
        return {};
    QString text;
    if (m_index > 0) {
        const CatalogEntry* entry = tree->catalogEntryAt(m_index);
        text = entry ? siteDescription(*entry) : QStringLiteral("Favorite");
    } else {
        text = NodeDescription();
    }
    // The link check's finding, in the words of the item's tooltip.
    const QString finding = QTreeWidgetItem::data(0, Qt::ToolTipRole).toString();
    return finding.isEmpty() ? text : text + QStringLiteral(". ") + finding;
}

QString CatalogTreeItem::NodeDescription() const
{
    const auto* tree = static_cast<const CLeftView*>(treeWidget());
    if (!parent())
        return QStringLiteral("Catalog");
    // What a filter hides is not counted: the count is what can be reached.
    int sites = 0;
    int nodes = 0;
    for (int i = 0; i < childCount(); ++i) {
        const QTreeWidgetItem* item = child(i);
        if (item->isHidden())
            continue;
        if (item->data(0, CLeftView::kIndexRole).toInt() > 0)
            ++sites;
        else
            ++nodes;
    }
    if (tree->IsFavoritesNode(this) || tree->IsFolder(this)) {
        const QString favorites = counted(sites, "favorite", "favorites");
        return nodes > 0 ? QStringLiteral("Folder, %1, %2")
                               .arg(counted(nodes, "folder", "folders"), favorites)
                         : QStringLiteral("Folder, ") + favorites;
    }
    if (isKindName(text(0)))
        return QStringLiteral("Kind, ") + counted(nodes, "area", "areas");
    if (nodes > 0)
        return QStringLiteral("Area, ") + counted(nodes, "state", "states");
    return (isStateName(text(0)) ? QStringLiteral("State, ") : QStringLiteral("Area, ")) +
           counted(sites, "paper", "papers");
}
