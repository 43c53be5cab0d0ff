// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

class QLineEdit;

// A line edit's clear button, which Qt draws as an icon and leaves without a name, so a
// screen reader could only call it "button".
class ClearButton
{
public:
    // Turns the button on and names it "Clear".
    static void Enable(QLineEdit* edit);
};
