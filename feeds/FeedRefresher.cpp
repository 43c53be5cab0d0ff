// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FeedRefresher.h"

#include "FeedEncoding.h"
#include "FeedParser.h"
#include "platform/network/HostScope.h"

#include <QElapsedTimer>
#include <QNetworkProxy>
#include <QTimer>

#include <algorithm>

namespace {
bool isSuccess(int status)
{
    return status >= 200 && status < 300;
}

QString tooLarge()
{
    return QStringLiteral("larger than %1 MiB").arg(FeedParser::kMaxBytes / (1024 * 1024));
}
} // namespace

FeedRefresher::FeedRefresher(const QString& databasePath, QObject* parent)
    : QObject(parent), m_store(std::make_unique<FeedStore>(databasePath)),
      m_worker(std::make_unique<FeedWorker>(m_store->path())), m_queue(m_web), m_backlog(*m_worker)
{
    connect(&m_backlog, &RefreshBacklog::arrived, this, &FeedRefresher::pump);
    // A timer, not a posted call: calls posted while posted calls run may run in the same
    // turn, and the window's events would wait for every slice.
    m_pumpTimer.setSingleShot(true);
    m_pumpTimer.setInterval(0);
    connect(&m_pumpTimer, &QTimer::timeout, this, [this] {
        m_pumpQueued = false;
        pump();
    });
}

FeedRefresher::~FeedRefresher()
{
    ++m_run;
    // Before the worker's end, which waits for its task: one going through sites stops.
    m_backlog.clear();
    qDeleteAll(takeDiscoveries());
    m_queue.cancelAll();
    m_worker.reset();
}

void FeedRefresher::setProxy(const QNetworkProxy& proxy)
{
    m_web.setProxy(proxy);
}

void FeedRefresher::setLimits(const NetworkLimits& limits)
{
    m_queue.setLimits(limits);
}

void FeedRefresher::refresh(const QStringList& sites, Mode mode)
{
    if (sites.isEmpty())
        return;
    beginRun();
    m_backlog.add(sites, mode == Mode::Now);
    reportProgress();
}

void FeedRefresher::lookUp(const QString& site)
{
    if (site.trimmed().isEmpty())
        return;
    // What is known is told at once; the search, or the fetch when due, goes ahead of the
    // run's other papers.
    const SiteFeed known = m_store->siteFeed(site);
    if (!NeedsSearch(known))
        emit siteLookedUp(site, known);
    beginRun();
    m_backlog.admit(site, [this, site, known](qint64 number, bool isNew) {
        if (isNew || m_backlog.startEarly(number)) {
            ++m_started;
            startSite(site, known, Mode::WhenDue, FetchQueue::Priority::First);
        }
        pump();
    });
}

void FeedRefresher::beginRun()
{
    if (m_running)
        return;
    m_running = true;
    ++m_run;
    m_backlog.begin(m_run);
    m_reachedAny = m_offline = false;
    m_unreachedPublic = m_newItems = m_failed = 0;
    m_started = m_done = 0;
    m_reported = {-1, -1};
}

void FeedRefresher::pumpSoon()
{
    m_pumpQueued = true;
    m_pumpTimer.start();
}

void FeedRefresher::pump()
{
    // With a slice to come, this one waits for it: never two slices in one turn.
    if (m_pumping || m_starting || !m_running || m_pumpQueued)
        return;
    m_pumping = true;
    const int room = kSitesPerRequest * std::max(1, m_queue.limits().maxInFlight);
    QElapsedTimer slice;
    slice.start();
    RefreshBacklog::Entry entry;
    // Offline, every paper left ends at once, a slice at a time.
    while (m_running && (m_offline || underWay() < room)) {
        if (slice.elapsed() >= kSliceMs) {
            pumpSoon();
            break;
        }
        if (!m_backlog.take(entry))
            break;
        ++m_started;
        startSite(entry.site, entry.known, entry.now ? Mode::Now : Mode::WhenDue,
                  FetchQueue::Priority::Normal);
    }
    m_pumping = false;
    reportProgress();
    maybeFinish();
}

bool FeedRefresher::NeedsSearch(const SiteFeed& known)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const bool searchedLongAgo = !known.lookedUp.isValid() ||
                                 known.lookedUp.daysTo(now) >= kSearchAgainDays ||
                                 known.lookedUp > now;
    return known.state == SiteFeed::State::Unknown ||
           (known.state == SiteFeed::State::None && searchedLongAgo) ||
           (known.state == SiteFeed::State::Found && !known.error.isEmpty() && searchedLongAgo);
}

void FeedRefresher::startSite(const QString& site, const SiteFeed& known, Mode mode,
                              FetchQueue::Priority priority)
{
    if (m_offline) {
        siteDone(site, 0, true);
        return;
    }
    if (NeedsSearch(known)) {
        discover(site, priority);
        return;
    }
    if (known.state == SiteFeed::State::None) {
        siteDone(site, 0, false);
        return;
    }
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const bool due = mode == Mode::Now || !known.fetched.isValid() || known.fetched > now ||
                     known.fetched.msecsTo(now) >= m_minimumIntervalMs;
    if (!due) {
        siteDone(site, 0, false);
        return;
    }
    fetchFeed(known, site, priority);
}

void FeedRefresher::write(std::function<Outcome(FeedStore& store)> task,
                          std::function<void(const Outcome& outcome)> then)
{
    FeedWorker* worker = m_worker.get();
    m_worker->run([worker, task = std::move(task)] { return task(worker->threadStore()); })
        .then(this, [this, run = m_run, then = std::move(then)](const Outcome& outcome) {
            if (run != m_run)
                return;
            then(outcome);
        });
}

void FeedRefresher::discover(const QString& site, FetchQueue::Priority priority)
{
    auto* discovery = new FeedDiscovery(m_queue, *m_worker, site, priority, this);
    m_discoveries.insert(site, discovery);
    connect(discovery, &FeedDiscovery::finished, this,
            [this, run = m_run](const FeedDiscovery::Result& result) {
                if (run == m_run)
                    onDiscovered(result);
            });
    discovery->start();
}

QList<FeedDiscovery*> FeedRefresher::takeDiscoveries()
{
    return std::exchange(m_discoveries, {}).values();
}

void FeedRefresher::onDiscovered(const FeedDiscovery::Result& result)
{
    if (FeedDiscovery* discovery = m_discoveries.take(result.site))
        discovery->deleteLater();
    noteReach(QUrl(result.site), result.reachedSite);
    const QString site = result.site;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (!result.chosen.isEmpty()) {
        write(
            [result, now](FeedStore& store) {
                Outcome outcome;
                const qint64 feedId =
                    store.setSiteFound(result.site, result.chosen, result.feed.format, now);
                // The read that verified the feed is its first fetch.
                const FeedStore::Stored stored =
                    feedId > 0 ? store.storeFetched(feedId, result.feed, result.etag,
                                                    result.lastModified, now)
                               : FeedStore::Stored{};
                outcome.added = stored.added;
                outcome.failed = !stored.ok;
                outcome.site = store.siteFeed(result.site);
                return outcome;
            },
            [this, site](const Outcome& outcome) {
                emit siteLookedUp(site, outcome.site);
                feedDone({site}, outcome.added, outcome.failed);
            });
        return;
    }
    if (!result.reachedSite) {
        // Not "no feed" for a week: a site that could not be reached is searched again.
        SiteFeed none;
        none.state = SiteFeed::State::None;
        none.reason = result.reason;
        emit siteLookedUp(site, none);
        siteDone(site, 0, true);
        return;
    }
    write(
        [site, reason = result.reason, now](FeedStore& store) {
            Outcome outcome;
            store.setSiteNone(site, reason, now);
            outcome.site = store.siteFeed(site);
            outcome.site.reason = reason;
            outcome.site.state = SiteFeed::State::None;
            return outcome;
        },
        [this, site](const Outcome& outcome) {
            emit siteLookedUp(site, outcome.site);
            siteDone(site, 0, false);
        });
}

void FeedRefresher::fetchFeed(const SiteFeed& known, const QString& site,
                              FetchQueue::Priority priority)
{
    if (const auto it = m_feedJobs.find(known.feedId); it != m_feedJobs.end()) {
        // Another paper with the same feed: one fetch serves both.
        it->sites.append(site);
        return;
    }
    HttpFetch::Options options = FeedDiscovery::FeedFetchOptions();
    if (!known.etag.isEmpty())
        options.headers.append({"If-None-Match", known.etag});
    if (!known.lastModified.isEmpty())
        options.headers.append({"If-Modified-Since", known.lastModified});
    FeedJob& job = m_feedJobs[known.feedId];
    job.address = known.feedAddress;
    job.sites = QStringList{site};
    job.fetchId = m_queue.enqueue(
        QUrl(known.feedAddress), options, this,
        [this, feedId = known.feedId, run = m_run](const HttpFetch::Result& answer) {
            if (run == m_run)
                onFetched(feedId, answer);
        },
        priority);
}

void FeedRefresher::onFetched(qint64 feedId, const HttpFetch::Result& answer)
{
    const FeedJob job = m_feedJobs.take(feedId);
    noteReach(QUrl(job.address), answer.reachedServer);
    if (m_offline) {
        feedDone(job.sites, 0, true);
        return;
    }
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (!answer.answered() && !answer.reachedServer) {
        // Said only once the run shows the computer is online.
        m_heldErrors.append({feedId, answer.errorText});
        feedDone(job.sites, 0, true);
        return;
    }
    const QStringList sites = job.sites;
    write(
        [feedId, answer, now](FeedStore& store) {
            Outcome outcome;
            outcome.failed = true;
            if (!answer.answered()) {
                store.recordError(feedId, answer.errorText, now);
                return outcome;
            }
            const qint64 id =
                answer.movedTo.isValid()
                    ? store.moveFeed(feedId, answer.movedTo.toString(QUrl::FullyEncoded))
                    : feedId;
            if (answer.status == 304) {
                outcome.failed = !store.recordNotModified(id, now);
                return outcome;
            }
            if (!isSuccess(answer.status) || answer.truncated) {
                store.recordError(id,
                                  answer.truncated
                                      ? tooLarge()
                                      : QStringLiteral("the server answered %1").arg(answer.status),
                                  now);
                return outcome;
            }
            const ParsedFeed parsed = FeedParser::Parse(
                answer.body, answer.url, FeedEncoding::FromContentType(answer.contentType));
            if (!parsed.isFeed()) {
                store.recordError(id, QStringLiteral("not a feed: %1").arg(parsed.error), now);
                return outcome;
            }
            const FeedStore::Stored stored =
                store.storeFetched(id, parsed, answer.etag, answer.lastModified, now);
            outcome.added = stored.added;
            outcome.failed = !stored.ok;
            return outcome;
        },
        [this, sites](const Outcome& outcome) { feedDone(sites, outcome.added, outcome.failed); });
}

void FeedRefresher::feedDone(const QStringList& sites, int added, bool failed)
{
    // The new items are counted once, under the first paper with the feed.
    for (qsizetype i = 0; i < sites.size(); ++i)
        siteDone(sites.at(i), i == 0 ? added : 0, failed);
}

void FeedRefresher::siteDone(const QString& site, int added, bool failed)
{
    ++m_done;
    m_newItems += added;
    if (failed)
        ++m_failed;
    emit siteRefreshed(site, added);
    if (m_pumping || m_starting)
        return;
    // Room for the next paper.
    pump();
}

void FeedRefresher::reportProgress()
{
    const QPair<int, int> progress{m_done, total()};
    if (!m_running || progress == m_reported)
        return;
    m_reported = progress;
    emit progressChanged(progress.first, progress.second);
}

void FeedRefresher::noteReach(const QUrl& url, bool reached)
{
    if (reached) {
        m_reachedAny = true;
        return;
    }
    // Only a public site that cannot be reached says something about the network.
    if (m_reachedAny || m_offline || HostScope::IsLocalName(url.host()))
        return;
    if (++m_unreachedPublic >= kOfflineSample)
        goOffline();
}

void FeedRefresher::goOffline()
{
    m_offline = true;
    m_heldErrors.clear();
    // What is still waiting would only fail the same way.
    QStringList sites;
    for (FeedDiscovery* discovery : takeDiscoveries()) {
        sites.append(discovery->site());
        discovery->cancel();
        discovery->deleteLater();
    }
    for (const FeedJob& job : std::exchange(m_feedJobs, {})) {
        m_queue.cancel(job.fetchId);
        sites.append(job.sites);
    }
    m_starting = true;
    for (const QString& site : std::as_const(sites))
        siteDone(site, 0, true);
    m_starting = false;
    // Those still waiting end a slice at a time.
    if (!m_pumping)
        pumpSoon();
}

void FeedRefresher::maybeFinish()
{
    if (m_starting || m_pumping || !m_running || m_done < m_backlog.joined() ||
        !m_backlog.isEmpty())
        return;
    finishRun(false);
}

void FeedRefresher::cancel()
{
    if (!isRunning())
        return;
    for (FeedDiscovery* discovery : takeDiscoveries()) {
        discovery->cancel();
        discovery->deleteLater();
    }
    m_feedJobs.clear();
    m_queue.cancelAll();
    finishRun(true);
}

void FeedRefresher::finishRun(bool cancelled)
{
    Summary summary;
    summary.papers = total();
    summary.newItems = m_newItems;
    summary.failed = m_failed;
    summary.cancelled = cancelled;
    summary.offline = m_offline || (!m_reachedAny && m_unreachedPublic > 0);
    summary.message = MessageOf(summary);
    const QList<QPair<qint64, QString>> held = std::exchange(m_heldErrors, {});
    ++m_run;
    m_running = false;
    m_backlog.clear();
    m_feedJobs.clear();
    m_started = m_done = 0;
    if (summary.offline || cancelled || held.isEmpty()) {
        emit finished(summary);
        return;
    }
    // The run was online: what failed without an answer is kept with its feed, and the
    // run ends once that is written.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    FeedWorker* worker = m_worker.get();
    m_worker
        ->run([worker, held, now] {
            for (const auto& [feedId, error] : held)
                worker->threadStore().recordError(feedId, error, now);
            return true;
        })
        .then(this, [this, summary](bool) { emit finished(summary); });
}

QString FeedRefresher::MessageOf(const Summary& summary)
{
    if (summary.offline)
        return QStringLiteral("You seem to be offline: no paper's site could be reached. The "
                              "headlines are as they were.");
    if (summary.cancelled)
        return QStringLiteral("Refreshing headlines was stopped.");
    QString message = summary.newItems == 0 ? QStringLiteral("No new headlines")
                      : summary.newItems == 1
                          ? QStringLiteral("1 new headline")
                          : QStringLiteral("%1 new headlines").arg(summary.newItems);
    if (summary.failed == 1)
        message += QStringLiteral("; 1 paper could not be refreshed");
    else if (summary.failed > 1)
        message += QStringLiteral("; %1 papers could not be refreshed").arg(summary.failed);
    return message + QLatin1Char('.');
}
