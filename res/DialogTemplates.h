// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <span>

// Dialog templates in dialog units, controls in template order (also the tab order).
struct DialogControl
{
    enum class Kind
    {
        DefPushButton,
        PushButton,
        Edit,
        Static,
        Icon,
        ListView,
        ComboBox
    };
    enum Style : unsigned
    {
        None = 0,
        TabStop = 1U << 0,
        Border = 1U << 1,
        AutoHScroll = 1U << 2,
        NoPrefix = 1U << 3,
        ReportView = 1U << 4,
    };

    int id; // -1 for a static without an id
    Kind kind;
    const char* text;
    int x, y, cx, cy;
    unsigned style;
    // On a static: the id of the control it labels, which takes the label's text as the
    // name assistive technology says; 0 for none.
    int labelFor = 0;
};

struct DialogTemplate
{
    int id;
    const char* caption;
    int cx, cy;
    const char* fontFamily;
    int fontPointSize;
    std::span<const DialogControl> controls;
};

class DialogTemplates
{
public:
    // The template with this resource id, or nullptr.
    [[nodiscard]] static const DialogTemplate* Find(int id);
};
