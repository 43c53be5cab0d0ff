// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QStyledItemDelegate>

// Grid lines for a tree view, which has none of its own: each cell drawn as usual, with a
// line below it and one at its right.
class GridLineDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
