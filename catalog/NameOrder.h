// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QCollator>
#include <QString>

#include <functional>
#include <vector>

// Orders names as the tree shows them: by the collator, names that compare equal in the
// order given.
class NameOrder
{
public:
    // The positions 0 to count - 1 in the order of nameAt(position).
    [[nodiscard]] static std::vector<int> Sorted(const QCollator& collator, int count,
                                                 const std::function<QString(int)>& nameAt);
};
