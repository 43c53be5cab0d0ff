// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QStyledItemDelegate>

// Paints the tree's items as usual and, after the name of a site that moved, a small
// arrow, then the count of unread headlines (UnreadCountMark). The name stays as it is.
class LinkMarkDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // Items whose data in this role is true get the arrow.
    static constexpr int kMovedRole = Qt::UserRole + 40;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const override;

    // The room the mark takes after the text.
    static constexpr int kMarkWidth = 14;
};
