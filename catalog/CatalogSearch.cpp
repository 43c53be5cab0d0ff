// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CatalogSearch.h"

#include <algorithm>

namespace {
constexpr QChar kWordStart = u' ';

// Letters that carry no separate accent mark, spelled as people type them.
QStringView Spelled(QChar c)
{
    switch (c.unicode()) {
    case u'ß':
        return u"ss";
    case u'æ':
        return u"ae";
    case u'œ':
        return u"oe";
    case u'ø':
        return u"o";
    case u'ł':
        return u"l";
    case u'đ':
        return u"d";
    case u'ı':
        return u"i";
    default:
        return {};
    }
}

bool IsJoiner(QChar c)
{
    return c == u'\'' || c == u'\u2019';
}
} // namespace

void CatalogSearch::Clear()
{
    m_text.clear();
    m_ends.clear();
}

void CatalogSearch::Add(std::initializer_list<QStringView> texts)
{
    for (QStringView text : texts) {
        for (const QString& word : Words(text)) {
            m_text += kWordStart;
            m_text += word;
        }
    }
    m_ends.push_back(m_text.size());
}

std::vector<bool> CatalogSearch::Match(const QStringList& words) const
{
    std::vector<bool> result(m_ends.size(), false);
    if (m_ends.empty())
        return result;
    QStringList needles;
    for (const QString& word : words)
        needles.append(kWordStart + word);
    // The longest word first: it rules out the most entries at the first look.
    std::sort(needles.begin(), needles.end(),
              [](const QString& a, const QString& b) { return a.size() > b.size(); });
    const QStringView text(m_text);
    qsizetype start = 0;
    for (std::size_t entry = 0; entry < m_ends.size(); ++entry) {
        const QStringView entryWords = text.sliced(start, m_ends[entry] - start);
        start = m_ends[entry];
        result[entry] = std::all_of(needles.cbegin(), needles.cend(), [&](const QString& needle) {
            return entryWords.contains(needle);
        });
    }
    return result;
}

QStringList CatalogSearch::Words(QStringView text)
{
    const QString folded = Fold(text);
    QStringList words;
    QString word;
    for (QChar c : folded) {
        if (c.isLetterOrNumber()) {
            word += c;
        } else if (!IsJoiner(c) && !word.isEmpty()) {
            words.append(word);
            word.clear();
        }
    }
    if (!word.isEmpty())
        words.append(word);
    return words;
}

QString CatalogSearch::Fold(QStringView text)
{
    const bool ascii =
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii)
        return text.toString().toLower();
    // Compatibility decomposition splits "é" into "e" and its accent and "ﬁ" into "fi".
    const QString decomposed = text.toString().normalized(QString::NormalizationForm_KD);
    QString result;
    result.reserve(decomposed.size());
    for (QChar c : decomposed) {
        if (c.isMark())
            continue;
        const QChar lower = c.toCaseFolded();
        if (const QStringView spelled = Spelled(lower); !spelled.isEmpty())
            result += spelled;
        else
            result += lower;
    }
    return result;
}
