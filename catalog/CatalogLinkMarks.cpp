// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CatalogLinkMarks.h"

#include "CLeftView.h"
#include "LinkMarkDelegate.h"
#include "linkcheck/LinkFinding.h"
#include "platform/PlainText.h"

#include <QSignalBlocker>
#include <QTreeWidgetItemIterator>

namespace {
// Unchanged data is not set again: every change repaints and relays out the item.
void setIfChanged(QTreeWidgetItem* item, int role, const QVariant& value)
{
    if (item->data(0, role) != value)
        item->setData(0, role, value);
}
} // namespace

CatalogLinkMarks::CatalogLinkMarks(CLeftView* view, Lookup lookup, QObject* parent)
    : QObject(parent), m_view(view), m_lookup(std::move(lookup))
{
    view->setItemDelegate(new LinkMarkDelegate(view));
    PlainText::ShowToolTipsAsText(view);
    connect(view, &CLeftView::treeRebuilt, this, &CatalogLinkMarks::onTreeRebuilt);
    // A favorite that is new, or has another address now, shows what is known of its address.
    connect(view, &CLeftView::favoritesUpdated, this, [this](const QList<QTreeWidgetItem*>& items) {
        for (QTreeWidgetItem* item : items)
            applyTo(item, m_lookup(m_view->urlOf(item)));
    });
}

QColor CatalogLinkMarks::DeadColor(const QPalette& palette)
{
    // Halfway between text and background: plainly dimmed, still easy to read.
    const QColor text = palette.color(QPalette::Active, QPalette::Text);
    const QColor base = palette.color(QPalette::Active, QPalette::Base);
    return QColor((text.red() + base.red()) / 2, (text.green() + base.green()) / 2,
                  (text.blue() + base.blue()) / 2);
}

void CatalogLinkMarks::applyAll()
{
    markItems(Items::MaybeMarked);
}

void CatalogLinkMarks::markItems(Items items)
{
    if (!m_view)
        return;
    for (QTreeWidgetItemIterator it(m_view); *it; ++it) {
        const QString url = m_view->urlOf(*it);
        if (url.isEmpty())
            continue;
        const LinkResult* result = m_lookup(url);
        // An unmarked item without a finding has nothing to change.
        if (result || items == Items::MaybeMarked)
            applyTo(*it, result);
    }
}

void CatalogLinkMarks::onTreeRebuilt()
{
    // Every item is new, unmarked, and nothing has been measured or painted yet: only the
    // sites with a finding get their marks, without a change notice per item, and the view
    // repaints once.
    {
        const QSignalBlocker quiet(m_view->model());
        markItems(Items::Unmarked);
    }
    m_view->viewport()->update();
}

void CatalogLinkMarks::apply(const QString& url)
{
    if (!m_view || url.isEmpty())
        return;
    const LinkResult* result = m_lookup(url);
    for (QTreeWidgetItemIterator it(m_view); *it; ++it) {
        if (m_view->urlOf(*it) == url)
            applyTo(*it, result);
    }
}

void CatalogLinkMarks::applyTo(QTreeWidgetItem* item, const LinkResult* result)
{
    const bool dead = result && result->status == LinkResult::Status::Dead;
    const bool moved = result && result->status == LinkResult::Status::Moved;
    // Greyed, not disabled: a dead site still opens when selected.
    setIfChanged(item, Qt::ForegroundRole,
                 dead ? QVariant(QBrush(DeadColor(m_view->palette()))) : QVariant());
    setIfChanged(item, LinkMarkDelegate::kMovedRole, moved ? QVariant(true) : QVariant());
    setIfChanged(item, Qt::ToolTipRole,
                 result ? QVariant(LinkFinding::ToolTip(*result)) : QVariant());
}
