// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "LinkResult.h"
#include "platform/network/HostScope.h"
#include "platform/network/HostSlots.h"
#include "platform/network/NetworkLimits.h"
#include "platform/network/WebAccess.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QUrl>

#include <list>
#include <map>

class LinkProbe;
class QNetworkProxy;

// Checks a list of addresses in the background of the event loop: never blocks, at most a
// few requests at once in all and per site, and no verdict on public sites while the
// computer seems to be offline.
class LinkChecker : public QObject
{
    Q_OBJECT

public:
    struct Limits : NetworkLimits
    {
        int retryDelayMs = 1000;
        // Public hosts tried before a run that reached none of them calls itself offline.
        int offlineSample = 50;
    };

    enum class Outcome
    {
        Completed,
        Cancelled,
        Offline
    };

    struct Progress
    {
        int total = 0;
        int done = 0;
        int alive = 0;
        int moved = 0;
        int dead = 0;
        int unsure = 0;
        // Public addresses left without a verdict because the computer seemed offline.
        int notChecked = 0;
    };

    explicit LinkChecker(QObject* parent = nullptr);
    ~LinkChecker() override;

    void setLimits(const Limits& limits);
    [[nodiscard]] const Limits& limits() const { return m_limits; }
    void setClassifier(HostScope::Classifier classifier) { m_classifier = std::move(classifier); }
    void setProxy(const QNetworkProxy& proxy);
    // Well-known public sites asked, without a verdict of their own, when a run ends with
    // unreachable public hosts only and fewer of them than the sample: they tell a dead
    // site from a computer that is offline.
    void setReachabilityProbes(const QStringList& urls) { m_reachabilityProbes = urls; }

    // Starts a run over these addresses; repeats and blanks are dropped. False while a run
    // is going on.
    bool start(const QStringList& urls);
    // Moves an address of the run that waits to be checked to the front. False if none.
    bool prioritize(const QString& url);
    // Stops every request; the run finishes as cancelled.
    void cancel();

    [[nodiscard]] bool isRunning() const { return m_running; }
    [[nodiscard]] bool isOffline() const { return m_offline; }
    [[nodiscard]] const Progress& progress() const { return m_progress; }
    // The addresses of the current (or last) run, in order.
    [[nodiscard]] const QStringList& addresses() const { return m_addresses; }

signals:
    void resultReady(const QString& url, const LinkResult& result);
    void progressChanged();
    void finished(LinkChecker::Outcome outcome);

private:
    struct Job
    {
        QString url;
        QUrl parsed;
        QString host;
        QString key;
        bool probe = false;
    };
    struct Active
    {
        Job job;
        LinkProbe* probe = nullptr;
        bool isPublic = false;
    };
    struct Host
    {
        enum class State
        {
            Unknown,
            Resolving,
            Known
        };
        State state = State::Unknown;
        HostScope::Kind kind = HostScope::Kind::Public;
        QList<quint64> waiting;
    };

    [[nodiscard]] static Job MakeJob(const QString& url, bool probe);
    void schedule();
    bool dispatchNext();
    void classify(quint64 id);
    void onClassified(const QString& host, HostScope::Kind kind);
    void proceed(quint64 id, HostScope::Kind kind);
    void conclude(quint64 id, const LinkResult& result, bool reached, bool skipped = false);
    void publish(const QString& url, const LinkResult& result);
    void goOnline();
    void goOffline();
    void maybeFinish();
    void stopAll();

    WebAccess m_web;
    Limits m_limits;
    HostSlots m_slots;
    HostScope::Classifier m_classifier;
    QStringList m_reachabilityProbes;

    QStringList m_addresses;
    std::list<Job> m_pending;
    std::map<quint64, Active> m_active;
    QHash<QString, Host> m_hosts;
    quint64 m_nextId = 0;
    Progress m_progress;

    // Whether a public host has answered (online) or the sample found none (offline);
    // until one of them, verdicts on unreachable public hosts wait in m_held.
    QSet<QString> m_publicHostsTried;
    QList<QPair<QString, LinkResult>> m_held;
    bool m_online = false;
    bool m_offline = false;
    bool m_probesQueued = false;

    bool m_running = false;
    bool m_inSchedule = false;
    bool m_scheduleAgain = false;
};
