// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QStringList>

class QWidget;

// Finds controls that cut their own text: what a user sees as "ropertie" on a button.
class LayoutChecks
{
public:
    // One line per visible control under root (root included) whose text does not fit:
    // buttons, check boxes, radio buttons, labels, edits, tabs and header sections.
    [[nodiscard]] static QStringList ClippedTexts(const QWidget* root);

    // The text a control shows for its label: mnemonic markers removed.
    [[nodiscard]] static QString ShownText(const QString& label);
};
