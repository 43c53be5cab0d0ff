// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "HostSlots.h"
#include "HttpFetch.h"
#include "NetworkLimits.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <list>
#include <map>
#include <unordered_map>

class WebAccess;

// Runs fetches in the order asked, within the limits: at most so many at once in all and
// per site. Each answer goes to its callback, unless the callback's context is gone.
class FetchQueue : public QObject
{
    Q_OBJECT

public:
    using Done = std::function<void(const HttpFetch::Result& result)>;
    enum class Priority
    {
        Normal, // after every fetch already waiting
        First   // before them: a fetch the user waits for
    };

    explicit FetchQueue(WebAccess& web, QObject* parent = nullptr);
    ~FetchQueue() override;

    void setLimits(const NetworkLimits& limits);
    [[nodiscard]] const NetworkLimits& limits() const { return m_limits; }
    [[nodiscard]] WebAccess& web() { return m_web; }

    // Queues a fetch; timeoutMs and maxRedirects come from the limits. Returns its id.
    quint64 enqueue(const QUrl& url, HttpFetch::Options options, QObject* context, Done done,
                    Priority priority = Priority::Normal);
    // Drops a fetch, waiting or under way; its callback is never called.
    void cancel(quint64 id);
    void cancelAll();

    [[nodiscard]] int waiting() const { return static_cast<int>(m_waiting.size()); }
    [[nodiscard]] int inFlight() const { return m_slots.inFlight(); }

private:
    struct Job
    {
        quint64 id = 0;
        QUrl url;
        QString siteKey;
        HttpFetch::Options options;
        QPointer<QObject> context;
        Done done;
        HttpFetch* fetch = nullptr;
    };

    void schedule();
    void scheduleSoon();
    std::list<Job>::iterator dropWaiting(std::list<Job>::iterator job);
    void onFinished(quint64 id, const HttpFetch::Result& result);

    WebAccess& m_web;
    NetworkLimits m_limits;
    HostSlots m_slots;
    std::list<Job> m_waiting;
    // Where each waiting fetch stands: a refresh of many sites that goes offline cancels
    // them all, and a search of the list for each would take minutes.
    std::unordered_map<quint64, std::list<Job>::iterator> m_waitingById;
    std::map<quint64, Job> m_running;
    quint64 m_nextId = 0;
    bool m_scheduling = false;
    bool m_scheduleQueued = false;
};
