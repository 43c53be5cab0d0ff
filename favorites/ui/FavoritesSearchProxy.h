// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QCollator>
#include <QSortFilterProxyModel>

#include <vector>

class FavoritesTreeModel;

// The editor's view of the favorites: only the rows the search text is in (with the folders
// on their way, and all a matching folder holds), ordered by the column the user chose.
// Folders stay above the favorites beside them whichever way a column is sorted, and the
// "No." column gives back the file's order.
class FavoritesSearchProxy : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit FavoritesSearchProxy(FavoritesTreeModel& model, QObject* parent = nullptr);

    // False when the rows shown stay the same.
    bool SetSearchText(const QString& text);
    [[nodiscard]] QString searchText() const { return m_text; }

protected:
    [[nodiscard]] bool filterAcceptsRow(int sourceRow,
                                        const QModelIndex& sourceParent) const override;
    [[nodiscard]] bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    FavoritesTreeModel& m_model;
    QCollator m_collator;
    QString m_text;
    // Per node of the model: its own texts hold the search text. Worked out again once the
    // model was reset.
    mutable std::vector<char> m_matching;
    mutable quint64 m_matched = 0;
};
