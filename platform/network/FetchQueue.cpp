// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FetchQueue.h"

#include "WebAddress.h"

#include <QSignalBlocker>

FetchQueue::FetchQueue(WebAccess& web, QObject* parent) : QObject(parent), m_web(web) {}

FetchQueue::~FetchQueue()
{
    cancelAll();
}

void FetchQueue::setLimits(const NetworkLimits& limits)
{
    m_limits = limits;
    m_slots.setLimits(limits);
    schedule();
}

quint64 FetchQueue::enqueue(const QUrl& url, HttpFetch::Options options, QObject* context,
                            Done done, Priority priority)
{
    Job job;
    job.id = ++m_nextId;
    job.url = url;
    job.siteKey = WebAddress::SiteKey(url);
    options.timeoutMs = m_limits.timeoutMs;
    options.maxRedirects = m_limits.maxRedirects;
    job.options = std::move(options);
    job.context = context;
    job.done = std::move(done);
    const auto place = priority == Priority::First ? m_waiting.begin() : m_waiting.end();
    m_waitingById.emplace(job.id, m_waiting.insert(place, std::move(job)));
    schedule();
    return m_nextId;
}

void FetchQueue::cancel(quint64 id)
{
    if (const auto it = m_running.find(id); it != m_running.end()) {
        it->second.fetch->abort();
        it->second.fetch->deleteLater();
        m_slots.give(it->second.siteKey);
        m_running.erase(it);
        // Not at once: a run that cancels all its fetches would start each waiting one
        // only to cancel it next.
        scheduleSoon();
        return;
    }
    if (const auto it = m_waitingById.find(id); it != m_waitingById.end())
        dropWaiting(it->second);
}

std::list<FetchQueue::Job>::iterator FetchQueue::dropWaiting(std::list<Job>::iterator job)
{
    m_waitingById.erase(job->id);
    return m_waiting.erase(job);
}

void FetchQueue::cancelAll()
{
    for (auto& [id, job] : m_running) {
        job.fetch->abort();
        job.fetch->deleteLater();
    }
    m_running.clear();
    m_waiting.clear();
    m_waitingById.clear();
    m_slots.clear();
}

void FetchQueue::scheduleSoon()
{
    if (std::exchange(m_scheduleQueued, true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_scheduleQueued = false;
            schedule();
        },
        Qt::QueuedConnection);
}

void FetchQueue::schedule()
{
    // A fetch that ends at once ends later, never inside this loop.
    if (m_scheduling)
        return;
    m_scheduling = true;
    for (auto it = m_waiting.begin(); it != m_waiting.end() && !m_slots.isFull();) {
        if (!it->context) {
            it = dropWaiting(it);
            continue;
        }
        if (!m_slots.canStart(it->siteKey)) {
            ++it;
            continue;
        }
        Job job = std::move(*it);
        it = dropWaiting(it);
        m_slots.take(job.siteKey);
        const quint64 id = job.id;
        job.fetch = new HttpFetch(m_web, job.url, job.options, this);
        connect(job.fetch, &HttpFetch::finished, this,
                [this, id](const HttpFetch::Result& result) { onFinished(id, result); });
        HttpFetch* fetch = job.fetch;
        m_running.emplace(id, std::move(job));
        fetch->start();
    }
    m_scheduling = false;
}

void FetchQueue::onFinished(quint64 id, const HttpFetch::Result& result)
{
    const auto it = m_running.find(id);
    if (it == m_running.end())
        return;
    Job job = std::move(it->second);
    m_running.erase(it);
    m_slots.give(job.siteKey);
    job.fetch->deleteLater();
    schedule();
    if (job.context && job.done)
        job.done(result);
}
