// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QTreeWidgetItem>

// An item of the catalog tree. Besides its name it tells assistive technology what it is
// ("Newspaper, Boston, daily", "State, 42 papers", "Favorite") and what the last link check
// found there; worked out when asked, so the tree's thousands of items store nothing more.
class CatalogTreeItem : public QTreeWidgetItem
{
public:
    explicit CatalogTreeItem(const QString& text) : QTreeWidgetItem(QStringList{text}) {}

    [[nodiscard]] QVariant data(int column, int role) const override;

    // What the item is, with the link check's finding when there is one; empty for an item
    // outside a catalog tree.
    [[nodiscard]] QString Description() const;

    // The name as a screen reader says it.
    [[nodiscard]] QString SpokenName() const;

private:
    [[nodiscard]] QString NodeDescription() const;
};
