// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "SiteFeed.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>

class FeedWorker;

// The sites of a refresh run that wait for their turn. A run of a hundred thousand papers
// is gone through on the worker thread a slice at a time: each site's key worked out once,
// a site the run has already left out, what is known of its feed read. This thread then
// takes the sites one by one, only as the run has room for them. Each site of a run is
// numbered in the order it joined; a site asked for on its own can be started ahead of its
// turn and is then passed over when its turn comes.
class RefreshBacklog : public QObject
{
    Q_OBJECT

public:
    // Sites gone through on the worker thread in one task: the user's own look-ups wait at
    // most for one of these.
    static constexpr qsizetype kSlice = 20000;

    struct Entry
    {
        QString site;
        qint64 number = 0;
        bool now = false; // the user asked: fetched even when not due
        SiteFeed known;
    };

    explicit RefreshBacklog(FeedWorker& worker, QObject* parent = nullptr);
    ~RefreshBacklog() override;

    // A new run: whatever the last one left is forgotten.
    void begin(quint64 run);
    // Sites to go through; those the run has already are left out.
    void add(const QStringList& sites, bool now);
    // One site, through the same count: told its number, and whether it is new to the run.
    void admit(const QString& site, std::function<void(qint64 number, bool isNew)> then);
    // The next site whose turn it is; false when none is ready.
    [[nodiscard]] bool take(Entry& entry);
    // The site numbered so is waiting: it is started now, out of its turn. False when its
    // turn came already.
    bool startEarly(qint64 number);
    // Ends the run: nothing more arrives for it.
    void clear();

    // Sites of the run: gone through, each once, and given but not yet gone through.
    [[nodiscard]] qint64 joined() const { return m_joined; }
    [[nodiscard]] qint64 unexamined() const { return m_unexamined; }
    // Nothing waits, nothing is being gone through.
    [[nodiscard]] bool isEmpty();

signals:
    // Sites gone through are ready to take.
    void arrived();

private:
    // Kept on the worker thread, used by its tasks alone; wanted tells them which run this
    // thread is on, so that a task of an ended run stops early.
    struct Members
    {
        std::atomic<quint64> wanted{0};
        quint64 run = 0;
        QHash<QString, qint64> numbers;
    };
    struct Waiting
    {
        QString site;
        qint64 number = 0;
    };
    struct Batch
    {
        QList<Waiting> entries;
        // Apart: most sites of a long list have never been looked up.
        QHash<qint64, SiteFeed> known;
        bool now = false;
        qsizetype next = 0;
    };
    struct Given
    {
        QStringList sites;
        bool now = false;
        qsizetype next = 0;
    };

    void examineNext();
    void skipStartedEarly();

    FeedWorker& m_worker;
    std::shared_ptr<Members> m_members;
    quint64 m_run = 0;
    std::deque<Given> m_given;
    std::deque<Batch> m_batches;
    qint64 m_joined = 0;
    qint64 m_unexamined = 0;
    bool m_examining = false;
    int m_admitting = 0;
    // Every site numbered below was taken in its turn or started early.
    qint64 m_takenBelow = 0;
    QSet<qint64> m_startedEarly;
};
