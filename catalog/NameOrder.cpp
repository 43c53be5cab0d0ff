// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "NameOrder.h"

#include <QCollatorSortKey>

#include <algorithm>
#include <numeric>

namespace {
// Sorts positions by keys computed once per name: a comparison through the collator weighs
// every character again, and a sort compares each name some log2(count) times.
template <typename Key, typename Less>
std::vector<int> SortedByKey(const std::vector<Key>& keys, Less less)
{
    std::vector<int> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    // Lists often arrive sorted (the catalog, a folder kept by name): one comparison each
    // tells.
    bool sorted = true;
    for (std::size_t i = 1; sorted && i < keys.size(); ++i)
        sorted = !less(keys[i], keys[i - 1]);
    if (!sorted) {
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return less(keys[std::size_t(a)], keys[std::size_t(b)]);
        });
    }
    return order;
}

// The C locale's collator compares code units, ignoring case as told. Its keys are the
// names case-folded, kept side by side in one buffer: a string each costs an allocation
// per name, and a list of favorites has a hundred thousand. Names of ASCII alone, nearly
// all of them, are folded here, where A to Z are the only letters that change.
std::vector<int> SortedByCodeUnits(int count, const std::function<QString(int)>& nameAt, bool fold)
{
    std::vector<char16_t> text;
    std::vector<std::pair<std::size_t, qsizetype>> spans;
    spans.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        const QString name = nameAt(i);
        const std::size_t start = text.size();
        bool ascii = true;
        for (const QChar c : name) {
            const char16_t unit = c.unicode();
            if (unit >= 0x80) {
                ascii = false;
                break;
            }
            text.push_back(fold && unit >= u'A' && unit <= u'Z' ? unit + (u'a' - u'A') : unit);
        }
        if (!ascii) {
            text.resize(start);
            const QString key = fold ? name.toCaseFolded() : name;
            text.insert(text.end(), key.utf16(), key.utf16() + key.size());
        }
        spans.emplace_back(start, qsizetype(text.size() - start));
    }
    // Views only once the buffer has stopped growing.
    std::vector<QStringView> keys;
    keys.reserve(spans.size());
    for (const auto& [start, length] : spans)
        keys.emplace_back(text.data() + start, length);
    return SortedByKey(keys, [](QStringView a, QStringView b) { return a < b; });
}
} // namespace

std::vector<int> NameOrder::Sorted(const QCollator& collator, int count,
                                   const std::function<QString(int)>& nameAt)
{
    if (count < 2)
        return std::vector<int>(std::size_t(std::max(count, 0)), 0);
    // Its sort keys would not ignore case.
    if (collator.locale().language() == QLocale::C)
        return SortedByCodeUnits(count, nameAt, collator.caseSensitivity() == Qt::CaseInsensitive);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i)
        keys.push_back(collator.sortKey(nameAt(i)));
    return SortedByKey(keys, [](const QCollatorSortKey& a, const QCollatorSortKey& b) {
        return a.compare(b) < 0;
    });
}
