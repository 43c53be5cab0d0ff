// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QString>
#include <QStringView>

// Turns what feeds put in titles and summaries into plain text: markup removed (the text of
// scripts and styles dropped), character references decoded, white space collapsed.
class FeedText
{
public:
    static constexpr int kSummaryLength = 400;
    // What a summary is read up to before Shorten() cuts it.
    static constexpr int kSummaryReadLength = kSummaryLength + 1;

    // HTML, or text that may hold some; at most limit characters of it (-1: all).
    [[nodiscard]] static QString FromHtml(QStringView html, qsizetype limit = -1);
    // Text meant as plain: only its white space is collapsed and control characters dropped.
    [[nodiscard]] static QString Collapse(QStringView text, qsizetype limit = -1);
    // At most about length characters, cut between words, with "…" when cut.
    [[nodiscard]] static QString Shorten(const QString& text, int length = kSummaryLength);
    // The character a named reference ("amp", "eacute", "nbsp"...) stands for, or 0.
    [[nodiscard]] static char32_t NamedCharacter(QStringView name);
    [[nodiscard]] static char32_t NamedCharacter(QLatin1StringView name);
};
