// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QSet>
#include <QTimer>

class CLeftView;

// Shows the unread counts on My Favorites: each favorite its paper's, each folder the sum of
// what it holds, each paper once. A tree of a hundred thousand favorites is gone through a
// short slice at a time; a change of the tree on the way starts it again.
class UnreadCountWalk : public QObject
{
    Q_OBJECT

public:
    static constexpr int kSliceMs = 8;

    explicit UnreadCountWalk(CLeftView* tree, QObject* parent = nullptr);

    // Goes through the tree again with these counts, by each favorite's address (those
    // without unread items left out), and the key each address's paper is counted under.
    void start(const QHash<QString, int>& countOfUrl, const QHash<QString, QString>& keys);
    [[nodiscard]] bool isRunning() const { return m_total >= 0 || !m_stack.isEmpty(); }

signals:
    // The whole tree shows the counts; total is My Favorites' own.
    void finished(int total);

private:
    struct Frame
    {
        QPersistentModelIndex node;
        int next = 0;
        int sum = 0;
        QSet<QString> counted;
    };

    void walk();
    void note(const QModelIndex& index, int count);
    [[nodiscard]] QString keyOf(const QString& url) const;

    QPointer<CLeftView> m_tree;
    QHash<QString, int> m_countOfUrl;
    QHash<QString, QString> m_keys;
    QList<Frame> m_stack;
    QList<QPair<QPersistentModelIndex, int>> m_changes;
    qsizetype m_applied = 0;
    int m_total = -1; // My Favorites' own, once read
    QTimer m_next;
    bool m_queued = false;
};
