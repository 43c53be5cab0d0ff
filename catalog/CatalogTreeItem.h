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
    // The role of the index into the tree's URL table (0: no URL).
    static constexpr int kIndexRole = Qt::UserRole;

    // The name and the index are kept in the item rather than among its roles: a tree of
    // thousands of items is built and cleared at every rebuild, and each role stored costs
    // allocations to make and to free.
    explicit CatalogTreeItem(const QString& text, int index = 0) : m_text(text), m_index(index) {}

    [[nodiscard]] QVariant data(int column, int role) const override;
    void setData(int column, int role, const QVariant& value) override;
    [[nodiscard]] int index() const { return m_index; }

    // What the item is, with the link check's finding when there is one; empty for an item
    // outside a catalog tree.
    [[nodiscard]] QString Description() const;

    // The name as a screen reader says it.
    [[nodiscard]] QString SpokenName() const;

private:
    [[nodiscard]] QString NodeDescription() const;

    QString m_text;
    int m_index = 0;
};
