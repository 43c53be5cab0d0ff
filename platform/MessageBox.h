// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QString>

#include <functional>

// Button sets and results keep the framework's numeric values, since callers compare them.
enum MessageBoxType : unsigned
{
    MB_OK = 0x0,
    MB_YESNO = 0x4,
    MB_ICONWARNING = 0x30,
    MB_ICONQUESTION = 0x20,
    MB_ICONINFORMATION = 0x40,
    MB_ICONERROR = 0x10,
};

enum DialogResult : int
{
    IDOK = 1,
    IDCANCEL = 2,
    IDYES = 6,
    IDNO = 7,
};

// The application's message box: its name as the caption, OK or Yes/No (Yes the default),
// and the icon the type names, or none when it names none.
class MessageBox
{
public:
    struct Request
    {
        QString caption;
        QString text;
        unsigned type = MB_OK;
    };
    // Answers a box instead of the user; returns IDOK, IDYES or IDNO.
    using Hook = std::function<int(const Request&)>;

    static int Show(const QString& text, unsigned type = MB_OK);

    static void SetCaption(const QString& caption);
    // The width a box needs for its title bar to show the whole caption.
    [[nodiscard]] static int CaptionWidth(const QString& caption);
    [[nodiscard]] static QString Caption();

    // Installs a hook that answers every box; returns the previous one.
    static Hook SetHook(Hook hook);
};
