// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QItemSelectionModel>
#include <QStringList>
#include <QTest>
#include <QTreeView>

#include <algorithm>

// The rows a tree view shows, top to bottom, as a user sees them: those inside open folders
// included, those inside closed ones not. Rows are counted in that order.
namespace ViewRows {
inline QModelIndexList Shown(const QTreeView* view)
{
    QModelIndexList rows;
    for (QModelIndex row = view->model()->index(0, 0); row.isValid(); row = view->indexBelow(row))
        rows.append(row);
    return rows;
}

inline QModelIndex Row(const QTreeView* view, int row)
{
    const QModelIndexList rows = Shown(view);
    return row >= 0 && row < rows.size() ? rows.at(row) : QModelIndex();
}

inline QStringList Column(const QTreeView* view, int column)
{
    QStringList texts;
    for (const QModelIndex& row : Shown(view))
        texts.append(row.siblingAtColumn(column).data().toString());
    return texts;
}

// Each row's text in column, indented two spaces a level.
inline QStringList Indented(const QTreeView* view, int column)
{
    QStringList texts;
    for (const QModelIndex& row : Shown(view)) {
        int depth = 0;
        for (QModelIndex up = row.parent(); up.isValid(); up = up.parent())
            ++depth;
        texts.append(QString(2 * depth, QLatin1Char(' ')) +
                     row.siblingAtColumn(column).data().toString());
    }
    return texts;
}

inline QRect Rect(const QTreeView* view, int row, int column = 1)
{
    return view->visualRect(Row(view, row).siblingAtColumn(column));
}

inline void Click(QTreeView* view, int row, Qt::KeyboardModifiers modifiers = {})
{
    QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, Rect(view, row).center());
}

inline void DoubleClick(QTreeView* view, int row)
{
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, Rect(view, row).center());
}

// Makes the row the only one selected, and the current one.
inline void Select(QTreeView* view, int row)
{
    view->selectionModel()->setCurrentIndex(Row(view, row), QItemSelectionModel::ClearAndSelect |
                                                                QItemSelectionModel::Rows);
}

inline QList<int> Selected(const QTreeView* view)
{
    QList<int> rows;
    const QModelIndexList shown = Shown(view);
    for (const QModelIndex& index : view->selectionModel()->selectedRows())
        rows.append(int(shown.indexOf(index)));
    std::sort(rows.begin(), rows.end());
    return rows;
}

inline int Current(const QTreeView* view)
{
    return int(Shown(view).indexOf(view->currentIndex().siblingAtColumn(0)));
}
} // namespace ViewRows
