// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "feeds/StoredItem.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QFont>
#include <QHash>
#include <QList>

#include <functional>

// The headlines listed, one row an item: paper, headline and time. Holds the items read
// from the database last; sorting and read marks change only this copy, the commands write
// the marks through.
class HeadlineModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        Paper,
        Headline,
        Time,
        ColumnCount
    };

    explicit HeadlineModel(QObject* parent = nullptr);

    // What "now" is for the time column; the clock by default.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // The items to list, each under its paper's name (keyed by the site as the items give it);
    // the current sort order stays.
    void setItems(QList<StoredItem> items, QHash<QString, QString> paperNames);
    [[nodiscard]] const StoredItem* itemAt(int row) const;
    [[nodiscard]] int rowOfItem(qint64 id) const;
    // The row of the newest item; -1 when the list is empty.
    [[nodiscard]] int newestRow() const;
    [[nodiscard]] QList<qint64> itemIds() const;
    void setRead(int row, bool read);
    void setAllRead();

    // "09:12" today, "Yesterday", then "3 Dec" (with the year when it is not this year's).
    [[nodiscard]] static QString TimeText(const QDateTime& time, const QDateTime& now);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    [[nodiscard]] QString paperOf(const StoredItem& item) const;
    void sortItems();

    QList<StoredItem> m_items;
    QHash<QString, QString> m_paperNames;
    int m_sortColumn = Time;
    Qt::SortOrder m_sortOrder = Qt::DescendingOrder;
    std::function<QDateTime()> m_clock;
    QFont m_boldFont;
};
