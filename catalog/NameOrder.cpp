// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "NameOrder.h"

#include <QCollatorSortKey>

#include <algorithm>
#include <numeric>

namespace {
// Sorts positions by keys computed once per name: a comparison through the collator weighs
// every character again, and a sort compares each name some log2(count) times.
template <typename Key, typename MakeKey, typename Less>
std::vector<int> SortedByKey(int count, const std::function<QString(int)>& nameAt, MakeKey makeKey,
                             Less less)
{
    std::vector<Key> keys;
    keys.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i)
        keys.push_back(makeKey(nameAt(i)));
    std::vector<int> order(static_cast<std::size_t>(count));
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
} // namespace

std::vector<int> NameOrder::Sorted(const QCollator& collator, int count,
                                   const std::function<QString(int)>& nameAt)
{
    if (count < 2)
        return std::vector<int>(std::size_t(std::max(count, 0)), 0);
    // The C locale's collator compares code units, ignoring case as told; its sort keys
    // would not.
    if (collator.locale().language() == QLocale::C) {
        const bool fold = collator.caseSensitivity() == Qt::CaseInsensitive;
        return SortedByKey<QString>(
            count, nameAt,
            [fold](const QString& name) { return fold ? name.toCaseFolded() : name; },
            [](const QString& a, const QString& b) { return a < b; });
    }
    return SortedByKey<QCollatorSortKey>(
        count, nameAt, [&collator](const QString& name) { return collator.sortKey(name); },
        [](const QCollatorSortKey& a, const QCollatorSortKey& b) { return a.compare(b) < 0; });
}
