// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "RefreshBacklog.h"

#include "FeedStore.h"
#include "FeedWorker.h"

RefreshBacklog::RefreshBacklog(FeedWorker& worker, QObject* parent)
    : QObject(parent), m_worker(worker), m_members(std::make_shared<Members>())
{}

RefreshBacklog::~RefreshBacklog()
{
    m_members->wanted = 0;
}

void RefreshBacklog::begin(quint64 run)
{
    clear();
    m_run = run;
    m_members->wanted = run;
}

void RefreshBacklog::add(const QStringList& sites, bool now)
{
    if (sites.isEmpty())
        return;
    m_given.push_back({sites, now, 0});
    m_unexamined += sites.size();
    examineNext();
}

void RefreshBacklog::examineNext()
{
    if (m_examining || m_given.empty())
        return;
    Given& given = m_given.front();
    const qsizetype count = std::min(kSlice, given.sites.size() - given.next);
    const QStringList slice = given.sites.mid(given.next, count);
    const bool now = given.now;
    given.next += count;
    if (given.next >= given.sites.size())
        m_given.pop_front();
    m_examining = true;
    FeedWorker* worker = &m_worker;
    m_worker
        .run([worker, members = m_members, run = m_run, slice, now] {
            Batch batch;
            batch.now = now;
            if (members->wanted != run)
                return batch;
            if (members->run != run) {
                members->numbers.clear();
                members->run = run;
            }
            QStringList keys;
            for (qsizetype i = 0; i < slice.size(); ++i) {
                // A run that ended does not hold up the thread, nor its owner's end.
                if (i % 1024 == 0 && members->wanted != run)
                    return Batch();
                const QString key = FeedStore::Key(slice.at(i));
                if (key.isEmpty() || members->numbers.contains(key))
                    continue;
                const qint64 number = members->numbers.size();
                members->numbers.insert(key, number);
                batch.entries.append({slice.at(i), number});
                keys.append(key);
            }
            const QHash<QString, SiteFeed> known = worker->threadStore().siteFeeds(keys);
            for (auto it = known.cbegin(); it != known.cend(); ++it)
                batch.known.insert(members->numbers.value(it.key()), it.value());
            return batch;
        })
        .then(this, [this, run = m_run, count](const Batch& batch) {
            if (run != m_run)
                return;
            m_examining = false;
            m_unexamined -= count;
            m_joined += batch.entries.size();
            if (!batch.entries.isEmpty())
                m_batches.push_back(batch);
            examineNext();
            emit arrived();
        });
}

void RefreshBacklog::admit(const QString& site, std::function<void(qint64, bool)> then)
{
    ++m_admitting;
    m_worker
        .run([members = m_members, run = m_run, site] {
            if (members->wanted != run)
                return qMakePair(qint64(-1), false);
            if (members->run != run) {
                members->numbers.clear();
                members->run = run;
            }
            const QString key = FeedStore::Key(site);
            if (key.isEmpty())
                return qMakePair(qint64(-1), false);
            if (const auto it = members->numbers.constFind(key); it != members->numbers.cend())
                return qMakePair(it.value(), false);
            const qint64 number = members->numbers.size();
            members->numbers.insert(key, number);
            return qMakePair(number, true);
        })
        .then(this, [this, run = m_run, then = std::move(then)](QPair<qint64, bool> answer) {
            if (run != m_run)
                return;
            --m_admitting;
            if (answer.second) {
                ++m_joined;
                m_startedEarly.insert(answer.first);
            }
            then(answer.first, answer.second);
        });
}

bool RefreshBacklog::take(Entry& entry)
{
    skipStartedEarly();
    if (m_batches.empty())
        return false;
    Batch& batch = m_batches.front();
    const Waiting& waiting = batch.entries.at(batch.next);
    entry.site = waiting.site;
    entry.number = waiting.number;
    entry.now = batch.now;
    entry.known = batch.known.take(waiting.number);
    m_takenBelow = entry.number + 1;
    if (++batch.next >= batch.entries.size())
        m_batches.pop_front();
    return true;
}

void RefreshBacklog::skipStartedEarly()
{
    while (!m_batches.empty() && !m_startedEarly.isEmpty()) {
        Batch& batch = m_batches.front();
        const qint64 number = batch.entries.at(batch.next).number;
        if (!m_startedEarly.remove(number))
            return;
        m_takenBelow = number + 1;
        if (++batch.next >= batch.entries.size())
            m_batches.pop_front();
    }
}

bool RefreshBacklog::startEarly(qint64 number)
{
    if (number < m_takenBelow || m_startedEarly.contains(number))
        return false;
    m_startedEarly.insert(number);
    return true;
}

bool RefreshBacklog::isEmpty()
{
    skipStartedEarly();
    return m_given.empty() && m_batches.empty() && !m_examining && m_admitting == 0;
}

void RefreshBacklog::clear()
{
    m_members->wanted = 0;
    m_run = 0;
    m_given.clear();
    m_batches.clear();
    m_joined = 0;
    m_unexamined = 0;
    m_examining = false;
    m_admitting = 0;
    m_takenBelow = 0;
    m_startedEarly.clear();
    // The ended run's keys go, unless a new run has begun with them already.
    static_cast<void>(m_worker.run([members = m_members] {
        if (members->run != members->wanted) {
            members->numbers = {};
            members->run = 0;
        }
        return true;
    }));
}
