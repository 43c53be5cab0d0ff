// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "FeedDiscovery.h"
#include "FeedStore.h"
#include "FeedWorker.h"
#include "RefreshBacklog.h"
#include "SiteFeed.h"
#include "platform/network/FetchQueue.h"
#include "platform/network/NetworkLimits.h"
#include "platform/network/WebAccess.h"

#include <QHash>
#include <QObject>
#include <QTimer>

#include <memory>

class QNetworkProxy;

// Brings the papers' headlines up to date in the background: finds each site's feed when
// it is not known (or was not found a week ago), fetches the feeds that are due with
// conditional requests, and stores what is new. Never blocks: the network runs on the
// event loop; parsing and every write of a refresh run on the worker thread, so this
// thread only reads, which a writer never holds up. However many papers a run has, only a
// few are under way at once: the rest wait in the backlog, and this thread starts or ends
// them a short slice at a time. The frame owns one and connects to its signals; the
// headline list reads store().
class FeedRefresher : public QObject
{
    Q_OBJECT

public:
    // A feed is asked again this long after its last fetch at the soonest, unless the
    // user asks.
    static constexpr qint64 kMinimumIntervalMs = 30 * 60 * 1000;
    // A site without a feed, or whose feed keeps failing, is searched again after this.
    static constexpr int kSearchAgainDays = 7;
    // Public hosts that failed without any server answering before a run calls itself
    // offline and stops.
    static constexpr int kOfflineSample = 8;
    // Papers under way at most, per request the limits allow in flight: enough that the
    // network never waits while an answer is stored.
    static constexpr int kSitesPerRequest = 2;
    // The longest this thread goes on starting or ending papers before the events' turn.
    static constexpr int kSliceMs = 8;

    enum class Mode
    {
        WhenDue, // feeds fetched within the minimum interval are left alone
        Now      // the user asked: every feed is fetched
    };

    struct Summary
    {
        int papers = 0;
        int newItems = 0;
        int failed = 0; // papers whose feed could not be fetched or read
        bool offline = false;
        bool cancelled = false;
        // One line for the status bar.
        QString message;
    };

    explicit FeedRefresher(const QString& databasePath, QObject* parent = nullptr);
    ~FeedRefresher() override;

    // The store of this thread: items, unread counts, read marks.
    [[nodiscard]] FeedStore& store() { return *m_store; }
    // One line for the status bar when the database was damaged or could not be opened.
    [[nodiscard]] const QString& problem() const { return m_store->problem(); }

    void setProxy(const QNetworkProxy& proxy);
    void setLimits(const NetworkLimits& limits);
    void setMinimumInterval(qint64 ms) { m_minimumIntervalMs = ms; }

    // Refreshes these sites' headlines; while a run is going on, they join it.
    void refresh(const QStringList& sites, Mode mode = Mode::WhenDue);
    // One site, ahead of every other: its feed found when not known, its items fetched
    // when due. siteLookedUp tells what is known of its feed.
    void lookUp(const QString& site);
    void cancel();

    [[nodiscard]] bool isRunning() const { return m_running; }
    [[nodiscard]] int done() const { return m_done; }
    // Every paper of the run, those still to be gone through included.
    [[nodiscard]] int total() const { return int(m_backlog.joined() + m_backlog.unexamined()); }
    // Papers started and not yet ended.
    [[nodiscard]] int underWay() const { return m_started - m_done; }

    [[nodiscard]] static QString MessageOf(const Summary& summary);

signals:
    // "n of m papers".
    void progressChanged(int done, int total);
    // After a search for the site's feed, or at once for lookUp when it is known; with the
    // reason when there is none.
    void siteLookedUp(const QString& site, const SiteFeed& feed);
    // A site's refresh ended; newItems may be 0.
    void siteRefreshed(const QString& site, int newItems);
    void finished(const FeedRefresher::Summary& summary);

private:
    struct FeedJob
    {
        QString address;
        QStringList sites;
        quint64 fetchId = 0;
    };
    struct Outcome
    {
        int added = 0;
        bool failed = false;
        SiteFeed site; // after a search
    };

    void beginRun();
    // Starts the backlog's papers while the run has room, for a slice at most.
    void pump();
    void pumpSoon();
    [[nodiscard]] static bool NeedsSearch(const SiteFeed& known);
    void startSite(const QString& site, const SiteFeed& known, Mode mode,
                   FetchQueue::Priority priority);
    void discover(const QString& site, FetchQueue::Priority priority);
    void onDiscovered(const FeedDiscovery::Result& result);
    void fetchFeed(const SiteFeed& known, const QString& site, FetchQueue::Priority priority);
    void onFetched(qint64 feedId, const HttpFetch::Result& answer);
    // Runs a write on the worker thread, then goes on here if the run is still the same.
    void write(std::function<Outcome(FeedStore& store)> task,
               std::function<void(const Outcome& outcome)> then);
    void feedDone(const QStringList& sites, int added, bool failed);
    void siteDone(const QString& site, int added, bool failed);
    void reportProgress();
    void noteReach(const QUrl& url, bool reached);
    void goOffline();
    // Empties m_discoveries; the discoveries in the order they were made.
    [[nodiscard]] QList<FeedDiscovery*> takeDiscoveries();
    void maybeFinish();
    void finishRun(bool cancelled);

    std::unique_ptr<FeedStore> m_store;
    std::unique_ptr<FeedWorker> m_worker;
    WebAccess m_web;
    FetchQueue m_queue;
    qint64 m_minimumIntervalMs = kMinimumIntervalMs;

    // The current run.
    quint64 m_run = 0; // tells late answers of an ended run from this one's
    bool m_running = false;
    RefreshBacklog m_backlog;
    // By the site as given.
    QHash<QString, FeedDiscovery*> m_discoveries;
    QHash<qint64, FeedJob> m_feedJobs;
    bool m_starting = false; // sites are being ended together: the run cannot end yet
    bool m_pumping = false;
    bool m_pumpQueued = false;
    QTimer m_pumpTimer;
    int m_started = 0;
    int m_done = 0;
    QPair<int, int> m_reported{-1, -1};
    int m_newItems = 0;
    int m_failed = 0;
    bool m_reachedAny = false;
    int m_unreachedPublic = 0;
    bool m_offline = false;
    // Failures without any answer, kept until the run shows whether the computer is online.
    QList<QPair<qint64, QString>> m_heldErrors;
};
