// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "UnreadCountMark.h"

#include <QPainter>

namespace {
constexpr int kGap = 6;
constexpr int kMostShown = 9999;
} // namespace

int UnreadCountMark::CountOf(const QModelIndex& index)
{
    return index.data(kRole).toInt();
}

QString UnreadCountMark::TextOf(int count)
{
    return count > kMostShown ? QStringLiteral("(%1+)").arg(kMostShown)
                              : QStringLiteral("(%1)").arg(count);
}

int UnreadCountMark::Width(const QStyleOptionViewItem& option, int count)
{
    if (count <= 0)
        return 0;
    QFont bold = option.font;
    bold.setBold(true);
    return kGap + QFontMetrics(bold).horizontalAdvance(TextOf(count));
}

void UnreadCountMark::Paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QRect& text, int left, int count)
{
    if (count <= 0)
        return;
    painter->save();
    QFont bold = option.font;
    bold.setBold(true);
    painter->setFont(bold);
    const bool selected = option.state & QStyle::State_Selected;
    // The name's own colour, in bold: it reads on every skin, dark ones too.
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect room(left + kGap, text.top(), Width(option, count), text.height());
    painter->drawText(room, Qt::AlignLeft | Qt::AlignVCenter, TextOf(count));
    painter->restore();
}
