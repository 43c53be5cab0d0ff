// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "UnreadCountWalk.h"

#include "catalog/CLeftView.h"
#include "catalog/UnreadCountMark.h"
#include "feeds/FeedStore.h"

#include <QElapsedTimer>
#include <QTimer>

UnreadCountWalk::UnreadCountWalk(CLeftView* tree, QObject* parent) : QObject(parent), m_tree(tree)
{
    // A timer, not a posted call: calls posted while posted calls run may run in the same
    // turn, and the window's events would wait for every slice.
    m_next.setSingleShot(true);
    m_next.setInterval(0);
    connect(&m_next, &QTimer::timeout, this, [this] {
        m_queued = false;
        walk();
    });
}

void UnreadCountWalk::start(const QHash<QString, int>& countOfUrl,
                            const QHash<QString, QString>& keys)
{
    m_countOfUrl = countOfUrl;
    m_keys = keys;
    m_stack.clear();
    m_changes.clear();
    m_applied = 0;
    m_total = -1;
    QTreeWidgetItem* node = m_tree ? m_tree->FavoritesNode() : nullptr;
    if (!node)
        return;
    // The node's place, row by row from the top.
    QList<int> rows;
    for (QTreeWidgetItem* item = node; item; item = item->parent())
        rows.prepend(item->parent() ? item->parent()->indexOfChild(item)
                                    : m_tree->indexOfTopLevelItem(item));
    QModelIndex index;
    for (const int row : std::as_const(rows))
        index = m_tree->model()->index(row, 0, index);
    m_stack.append({index});
    // A slice to come goes on with the new counts.
    if (!m_queued)
        walk();
}

QString UnreadCountWalk::keyOf(const QString& url) const
{
    const auto known = m_keys.constFind(url);
    return known != m_keys.cend() ? known.value() : FeedStore::Key(url);
}

void UnreadCountWalk::note(const QModelIndex& index, int count)
{
    if (index.data(UnreadCountMark::kRole).toInt() != count)
        m_changes.append({index, count});
}

void UnreadCountWalk::walk()
{
    if (!m_tree) {
        m_stack.clear();
        m_changes.clear();
        return;
    }
    QAbstractItemModel* model = m_tree->model();
    QElapsedTimer slice;
    slice.start();
    const auto later = [&] {
        if (slice.elapsed() < kSliceMs)
            return false;
        m_queued = true;
        m_next.start();
        return true;
    };
    // First the whole tree is read, then what changed is set: the tree measures itself again
    // after each slice that changed something.
    while (!m_stack.isEmpty()) {
        if (later())
            return;
        Frame& frame = m_stack.last();
        if (!frame.node.isValid()) {
            // Changed under the walk without being told: the next change starts it again.
            m_stack.clear();
            m_changes.clear();
            return;
        }
        const QModelIndex node = frame.node;
        if (frame.next < model->rowCount(node)) {
            const QModelIndex child = model->index(frame.next++, 0, node);
            const QString url = m_tree->urlAt(child.data(CLeftView::kIndexRole).toInt());
            if (url.isEmpty()) {
                m_stack.append({child});
                continue;
            }
            const int count = m_countOfUrl.value(url);
            if (count > 0 && !frame.counted.contains(keyOf(url))) {
                frame.counted.insert(keyOf(url));
                frame.sum += count;
            }
            note(child, count);
            continue;
        }
        const int sum = frame.sum;
        note(node, sum);
        m_stack.removeLast();
        if (m_stack.isEmpty())
            m_total = sum;
        else
            m_stack.last().sum += sum;
    }
    while (m_applied < m_changes.size()) {
        if (m_applied % 256 == 0 && later())
            return;
        const auto& [index, count] = m_changes.at(m_applied++);
        if (index.isValid())
            model->setData(index, count > 0 ? QVariant(count) : QVariant(), UnreadCountMark::kRole);
    }
    if (m_changes.isEmpty() && m_applied == 0 && m_total < 0)
        return;
    m_changes.clear();
    m_applied = 0;
    emit finished(std::exchange(m_total, -1));
}
