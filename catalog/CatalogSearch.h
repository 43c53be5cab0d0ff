// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QString>
#include <QStringList>

#include <initializer_list>
#include <vector>

// Finds entries by the starts of the words of their texts, ignoring case and accents:
// "sd livestock" finds an entry with the texts "Tri-State Livestock News" and "[SD]South Dakota".
class CatalogSearch
{
public:
    void Clear();
    // Adds an entry with its searchable texts; entries are numbered from 0 in the order added.
    void Add(std::initializer_list<QStringView> texts);
    [[nodiscard]] int size() const { return static_cast<int>(m_ends.size()); }

    // For each entry, whether every one of the words starts one of its words.
    [[nodiscard]] std::vector<bool> Match(const QStringList& words) const;

    // The words of a text as they are compared: lower case, accents dropped, split at
    // everything but letters and digits (apostrophes join: "O'Neill" is "oneill").
    [[nodiscard]] static QStringList Words(QStringView text);
    // Lower case without accents.
    [[nodiscard]] static QString Fold(QStringView text);

private:
    // Every entry's words, each after a space, entry after entry.
    QString m_text;
    // Where each entry's words end in m_text.
    std::vector<qsizetype> m_ends;
};
