// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "LinkMarkDelegate.h"

#include "UnreadCountMark.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>

void LinkMarkDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    const bool moved = index.data(kMovedRole).toBool();
    const int unread = UnreadCountMark::CountOf(index);
    if (!moved && unread <= 0)
        return;

    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QStyle* style = item.widget ? item.widget->style() : QApplication::style();
    const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget);
    const int left = text.left() + item.fontMetrics.horizontalAdvance(item.text) + 6;
    UnreadCountMark::Paint(painter, item, text, moved ? left + kMarkWidth - 6 : left - 6, unread);
    if (!moved)
        return;

    // A bent arrow: the site went elsewhere.
    const qreal mid = text.center().y() + 0.5;
    QPainterPath arrow;
    arrow.moveTo(left, mid - 3);
    arrow.lineTo(left, mid + 1);
    arrow.lineTo(left + 6, mid + 1);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const bool selected = option.state & QStyle::State_Selected;
    const QColor color =
        option.palette.color(selected ? QPalette::HighlightedText : QPalette::Link);
    painter->setPen(QPen(color, 1.4));
    painter->setBrush(Qt::NoBrush);
    painter->drawPath(arrow);
    QPainterPath head;
    head.moveTo(left + 8, mid + 1);
    head.lineTo(left + 5, mid - 2);
    head.lineTo(left + 5, mid + 4);
    head.closeSubpath();
    painter->setBrush(color);
    painter->drawPath(head);
    painter->restore();
}

QSize LinkMarkDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (index.data(kMovedRole).toBool())
        size.rwidth() += kMarkWidth;
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    size.rwidth() += UnreadCountMark::Width(item, UnreadCountMark::CountOf(index));
    return size;
}
