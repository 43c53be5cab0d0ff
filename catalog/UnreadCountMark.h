// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QStyleOptionViewItem>

class QPainter;

// The number of unread headlines after an item's name in the tree: a paper's own, or the
// sum of a folder or of My Favorites. Drawn, not part of the name, so that finding, sorting
// and editing see the name alone. An item shows it by holding the count in kRole.
class UnreadCountMark
{
public:
    static constexpr int kRole = Qt::UserRole + 41;

    // The count an item holds; 0 for none.
    [[nodiscard]] static int CountOf(const QModelIndex& index);
    // The room the mark takes after the name; 0 without a count.
    [[nodiscard]] static int Width(const QStyleOptionViewItem& option, int count);
    // Draws the mark with its left edge at left, centred on the item's text.
    static void Paint(QPainter* painter, const QStyleOptionViewItem& option, const QRect& text,
                      int left, int count);

private:
    [[nodiscard]] static QString TextOf(int count);
};
