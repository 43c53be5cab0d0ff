// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QString>

class QAbstractItemView;

// Text the program did not write (names, addresses, what a server said) shown where Qt would
// read markup into it: Qt takes a tooltip that looks like markup for markup, so a favorite
// named "<b>Big</b>" would come out bold.
class PlainText
{
public:
    // A tooltip that shows the text as it is.
    [[nodiscard]] static QString ToolTip(const QString& text);
    // The view's items keep their tooltips as plain text, and they are shown as such.
    static void ShowToolTipsAsText(QAbstractItemView* view);
};
