// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QFont>
#include <QRect>

// Converts dialog units to pixels from a font's average character cell, as the
// framework does: 4 horizontal and 8 vertical units per cell.
class DialogUnits
{
public:
    explicit DialogUnits(const QFont& font);

    // The template font, or the nearest sans-serif at its point size.
    [[nodiscard]] static QFont TemplateFont(const QString& family, int pointSize);

    [[nodiscard]] int x(int units) const { return (units * m_baseX + 2) / 4; }
    [[nodiscard]] int y(int units) const { return (units * m_baseY + 4) / 8; }
    [[nodiscard]] QRect rect(int left, int top, int width, int height) const
    {
        return {x(left), y(top), x(width), y(height)};
    }
    [[nodiscard]] int baseX() const { return m_baseX; }
    [[nodiscard]] int baseY() const { return m_baseY; }

private:
    int m_baseX;
    int m_baseY;
};
