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
    // Views only once the buffer has stopped growing. What every name begins with decides
    // nothing ("Paper 1" to "Paper 99999"); the next four code units, as one number, decide
    // most comparisons without reading the text.
    std::vector<QStringView> names;
    names.reserve(spans.size());
    for (const auto& [start, length] : spans)
        names.emplace_back(text.data() + start, length);
    qsizetype common = names.front().size();
    for (const QStringView name : names) {
        const qsizetype most = std::min(common, name.size());
        common = std::mismatch(name.begin(), name.begin() + most, names.front().begin()).first -
                 name.begin();
    }
    struct Key
    {
        quint64 head;
        QStringView rest;
    };
    std::vector<Key> keys;
    keys.reserve(names.size());
    for (const QStringView name : names) {
        const QStringView rest = name.mid(common);
        quint64 head = 0;
        // A name that ends sooner fills with zeros, never above one that goes on.
        for (qsizetype i = 0; i < 4; ++i)
            head = (head << 16) | (i < rest.size() ? rest[i].unicode() : 0u);
        keys.push_back({head, rest});
    }
    return SortedByKey(keys, [](const Key& a, const Key& b) {
        return a.head != b.head ? a.head < b.head : a.rest < b.rest;
    });
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
