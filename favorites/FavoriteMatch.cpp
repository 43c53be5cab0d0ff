// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FavoriteMatch.h"

#include <QHash>
#include <QPair>

#include <vector>

QList<qsizetype> FavoriteMatch::continuations(const QList<FavoriteRecord>& before,
                                              const QList<FavoriteRecord>& after)
{
    QList<qsizetype> result(after.size(), -1);
    std::vector<bool> taken(std::size_t(before.size()), false);
    // Most changes touch a few records between a long start and end that stay as they were.
    qsizetype head = 0;
    while (head < before.size() && head < after.size() && before.at(head) == after.at(head)) {
        result[head] = head;
        taken[std::size_t(head)] = true;
        ++head;
    }
    qsizetype tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before.at(before.size() - 1 - tail) == after.at(after.size() - 1 - tail)) {
        result[after.size() - 1 - tail] = before.size() - 1 - tail;
        taken[std::size_t(before.size() - 1 - tail)] = true;
        ++tail;
    }

    QHash<QPair<QString, QString>, QList<qsizetype>> places;
    for (qsizetype i = before.size() - 1 - tail; i >= head; --i)
        places[{before.at(i).title, before.at(i).url}].append(i);
    for (qsizetype j = head; j < after.size() - tail; ++j) {
        const auto found = places.find({after.at(j).title, after.at(j).url});
        if (found == places.end() || found->isEmpty())
            continue;
        // Listed last to first: the earliest twin is at the end.
        result[j] = found->takeLast();
        taken[std::size_t(result[j])] = true;
    }
    for (qsizetype j = head; j < after.size() - tail; ++j) {
        if (result[j] < 0 && j < before.size() && !taken[std::size_t(j)]) {
            result[j] = j;
            taken[std::size_t(j)] = true;
        }
    }
    return result;
}
