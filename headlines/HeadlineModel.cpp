// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "HeadlineModel.h"

#include <QCollator>
#include <QLocale>
#include <QUrl>

#include <algorithm>

namespace {
// A tooltip is for a glance: a feed that puts a whole article into its summary is cut.
constexpr int kTooltipChars = 500;
} // namespace

HeadlineModel::HeadlineModel(QObject* parent)
    : QAbstractTableModel(parent), m_clock([] { return QDateTime::currentDateTime(); })
{
    m_boldFont.setBold(true);
}

void HeadlineModel::setItems(QList<StoredItem> items, QHash<QString, QString> paperNames)
{
    beginResetModel();
    m_items = std::move(items);
    m_paperNames = std::move(paperNames);
    sortItems();
    endResetModel();
}

const StoredItem* HeadlineModel::itemAt(int row) const
{
    return row >= 0 && row < m_items.size() ? &m_items.at(row) : nullptr;
}

int HeadlineModel::rowOfItem(qint64 id) const
{
    for (int row = 0; row < m_items.size(); ++row) {
        if (m_items.at(row).id == id)
            return row;
    }
    return -1;
}

int HeadlineModel::newestRow() const
{
    const auto newest =
        std::max_element(m_items.cbegin(), m_items.cend(),
                         [](const StoredItem& a, const StoredItem& b) { return a.time < b.time; });
    return newest == m_items.cend() ? -1 : int(newest - m_items.cbegin());
}

QList<qint64> HeadlineModel::itemIds() const
{
    QList<qint64> ids;
    ids.reserve(m_items.size());
    for (const StoredItem& item : m_items)
        ids.append(item.id);
    return ids;
}

void HeadlineModel::setRead(int row, bool read)
{
    if (row < 0 || row >= m_items.size() || m_items.at(row).read == read)
        return;
    m_items[row].read = read;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1), {Qt::FontRole});
}

void HeadlineModel::setAllRead()
{
    for (StoredItem& item : m_items)
        item.read = true;
    if (!m_items.isEmpty())
        emit dataChanged(index(0, 0), index(int(m_items.size()) - 1, ColumnCount - 1),
                         {Qt::FontRole});
}

QString HeadlineModel::TimeText(const QDateTime& time, const QDateTime& now)
{
    if (!time.isValid())
        return {};
    const QDateTime local = time.toLocalTime();
    const QDate day = local.date();
    const QDate today = now.toLocalTime().date();
    if (day == today)
        return local.toString(QStringLiteral("HH:mm"));
    if (day == today.addDays(-1))
        return QStringLiteral("Yesterday");
    return QLocale::c().toString(day, day.year() == today.year() ? QStringLiteral("d MMM")
                                                                 : QStringLiteral("d MMM yyyy"));
}

int HeadlineModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

int HeadlineModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString HeadlineModel::paperOf(const StoredItem& item) const
{
    const QString name = m_paperNames.value(item.site);
    return name.isEmpty() ? QUrl(item.site).host() : name;
}

QVariant HeadlineModel::data(const QModelIndex& index, int role) const
{
    const StoredItem* item = index.isValid() ? itemAt(index.row()) : nullptr;
    if (!item)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        switch (index.column()) {
        case Paper:
            return paperOf(*item);
        case Headline:
            return item->title.isEmpty() ? item->link : item->title;
        case Time:
            return TimeText(item->time, m_clock());
        }
        return {};
    case Qt::FontRole:
        return item->read ? QVariant() : QVariant(m_boldFont);
    case Qt::ToolTipRole:
        if (item->summary.isEmpty())
            return {};
        return item->summary.size() > kTooltipChars
                   ? item->summary.left(kTooltipChars) + QChar(0x2026)
                   : item->summary;
    default:
        return {};
    }
}

QVariant HeadlineModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case Paper:
        return QStringLiteral("Paper");
    case Headline:
        return QStringLiteral("Headline");
    case Time:
        return QStringLiteral("Time");
    }
    return {};
}

void HeadlineModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QList<qint64> ids;
    ids.reserve(before.size());
    for (const QModelIndex& index : before)
        ids.append(m_items.at(index.row()).id);
    m_sortColumn = column;
    m_sortOrder = order;
    sortItems();
    QModelIndexList after;
    after.reserve(before.size());
    for (int i = 0; i < before.size(); ++i)
        after.append(index(rowOfItem(ids.at(i)), before.at(i).column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void HeadlineModel::sortItems()
{
    // Ties keep newest first, whatever the column.
    const auto newerFirst = [](const StoredItem& a, const StoredItem& b) {
        return a.time != b.time ? a.time > b.time : a.id > b.id;
    };
    if (m_sortColumn == Time) {
        std::sort(m_items.begin(), m_items.end(), newerFirst);
        if (m_sortOrder == Qt::AscendingOrder)
            std::reverse(m_items.begin(), m_items.end());
        return;
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    // Each paper's name once, not once a comparison.
    QHash<QString, QString> papers;
    if (m_sortColumn == Paper) {
        for (const StoredItem& item : std::as_const(m_items)) {
            if (!papers.contains(item.site))
                papers.insert(item.site, paperOf(item));
        }
    }
    const bool ascending = m_sortOrder == Qt::AscendingOrder;
    std::stable_sort(m_items.begin(), m_items.end(), newerFirst);
    std::stable_sort(m_items.begin(), m_items.end(), [&](const StoredItem& a, const StoredItem& b) {
        const int order = m_sortColumn == Paper
                              ? collator.compare(papers.value(a.site), papers.value(b.site))
                              : collator.compare(a.title, b.title);
        return ascending ? order < 0 : order > 0;
    });
}
