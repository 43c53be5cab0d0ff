// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "linkcheck/LinkResult.h"

#include <QColor>
#include <QObject>
#include <QPalette>
#include <QPointer>

#include <functional>

class CLeftView;
class QTreeWidgetItem;

// Shows in the tree what the link checks found: a dead site's name greyed, a moved one
// with a small arrow, and a tooltip with the finding and its date. Works on the built tree
// by address, so it applies again after every rebuild; names, selection and navigation
// are left alone.
class CatalogLinkMarks : public QObject
{
    Q_OBJECT

public:
    // The result for an address, or nullptr when it was never checked.
    using Lookup = std::function<const LinkResult*(const QString& url)>;

    CatalogLinkMarks(CLeftView* view, Lookup lookup, QObject* parent = nullptr);

    // The colour of a dead site's name.
    [[nodiscard]] static QColor DeadColor(const QPalette& palette);

    // Marks every item of the tree.
    void applyAll();
    // Marks the items of one address (a favorite and a catalog site may share it).
    void apply(const QString& url);

private:
    enum class Items
    {
        Unmarked,
        MaybeMarked
    };
    void markItems(Items items);
    void onTreeRebuilt();
    void applyTo(QTreeWidgetItem* item, const LinkResult* result);

    QPointer<CLeftView> m_view;
    Lookup m_lookup;
};
