#include "FeedRefresher.h"

#include "FeedEncoding.h"
#include "FeedParser.h"
#include "FeedWorker.h"
#include "platform/network/HostScope.h"

#include <QNetworkProxy>

namespace {
bool isSuccess(int status)
{
    return status >= 200 && status < 300;
}
} // namespace

FeedRefresher::FeedRefresher(const QString& databasePath, QObject* parent)
    : QObject(parent), m_store(std::make_unique<FeedStore>(databasePath)),
      m_worker(std::make_unique<FeedWorker>(m_store->path())), m_queue(m_web)
{}

FeedRefresher::~FeedRefresher()
{
    ++m_run;
    qDeleteAll(m_discoveries);
    m_discoveries.clear();
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
    m_starting = true;
    for (const QString& site : sites)
        startSite(site, mode, FetchQueue::Priority::Normal, false);
    m_starting = false;
    maybeFinish();
}

void FeedRefresher::lookUp(const QString& site)
{
    m_starting = true;
    startSite(site, Mode::WhenDue, FetchQueue::Priority::First, true);
    m_starting = false;
    maybeFinish();
}

void FeedRefresher::startSite(const QString& site, Mode mode, FetchQueue::Priority priority,
                              bool tell)
{
    const QString key = FeedStore::Key(site);
    if (key.isEmpty() || m_sites.contains(key))
        return;
    if (m_total == 0) {
        ++m_run;
        m_reachedAny = m_offline = false;
        m_unreachedPublic = m_newItems = m_failed = 0;
    }
    m_sites.insert(key);
    ++m_total;
    emit progressChanged(m_done, m_total);
    if (m_offline) {
        siteDone(site, 0, true);
        return;
    }

    const QDateTime now = QDateTime::currentDateTimeUtc();
    const SiteFeed known = m_store->siteFeed(site);
    const bool searchedLongAgo = !known.lookedUp.isValid() ||
                                 known.lookedUp.daysTo(now) >= kSearchAgainDays ||
                                 known.lookedUp > now;
    const bool search =
        known.state == SiteFeed::State::Unknown ||
        (known.state == SiteFeed::State::None && searchedLongAgo) ||
        (known.state == SiteFeed::State::Found && !known.error.isEmpty() && searchedLongAgo);
    if (search) {
        discover(site, priority);
        return;
    }
    if (tell)
        emit siteLookedUp(site, known);
    if (known.state == SiteFeed::State::None) {
        siteDone(site, 0, false);
        return;
    }
    const bool due = mode == Mode::Now || !known.fetched.isValid() || known.fetched > now ||
                     known.fetched.msecsTo(now) >= m_minimumIntervalMs;
    if (!due) {
        siteDone(site, 0, false);
        return;
    }
    fetchFeed(known.feedId, site, priority);
}

void FeedRefresher::discover(const QString& site, FetchQueue::Priority priority)
{
    auto* discovery = new FeedDiscovery(m_queue, *m_worker, site, priority, this);
    m_discoveries.insert(FeedStore::Key(site), discovery);
    connect(discovery, &FeedDiscovery::finished, this,
            [this, run = m_run](const FeedDiscovery::Result& result) {
                if (run == m_run)
                    onDiscovered(result);
            });
    discovery->start();
}

void FeedRefresher::onDiscovered(const FeedDiscovery::Result& result)
{
    if (FeedDiscovery* discovery = m_discoveries.take(FeedStore::Key(result.site)))
        discovery->deleteLater();
    noteReach(QUrl(result.site), result.reachedSite);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (!result.chosen.isEmpty()) {
        const qint64 feedId =
            m_store->setSiteFound(result.site, result.chosen, result.feed.format, now);
        emit siteLookedUp(result.site, m_store->siteFeed(result.site));
        if (feedId == 0) {
            siteDone(result.site, 0, true);
            return;
        }
        // The read that verified the feed is its first fetch.
        const ParsedFeed feed = result.feed;
        const QByteArray etag = result.etag;
        const QByteArray lastModified = result.lastModified;
        FeedWorker* worker = m_worker.get();
        ++m_pendingTasks;
        m_worker
            ->run([worker, feedId, feed, etag, lastModified, now] {
                Outcome outcome;
                outcome.isFeed = true;
                FeedStore& store = worker->threadStore();
                const FeedStore::Stored stored =
                    store.storeFetched(feedId, feed, etag, lastModified, now);
                outcome.added = stored.added;
                if (!stored.ok)
                    outcome.error =
                        QStringLiteral("could not be stored: %1").arg(store.lastError());
                return outcome;
            })
            .then(this, [this, run = m_run, site = result.site](const Outcome& outcome) {
                if (run != m_run)
                    return;
                --m_pendingTasks;
                feedDone({site}, outcome.added, !outcome.error.isEmpty());
            });
        return;
    }
    SiteFeed none;
    none.state = SiteFeed::State::None;
    none.reason = result.reason;
    // A site that could not be reached is searched again next time, not in a week.
    if (result.reachedSite && m_store->setSiteNone(result.site, result.reason, now))
        none = m_store->siteFeed(result.site);
    emit siteLookedUp(result.site, none);
    siteDone(result.site, 0, !result.reachedSite);
}

void FeedRefresher::fetchFeed(qint64 feedId, const QString& site, FetchQueue::Priority priority)
{
    if (const auto it = m_feedJobs.find(feedId); it != m_feedJobs.end()) {
        // Another paper with the same feed: one fetch serves both.
        it->sites.append(site);
        return;
    }
    const std::optional<StoredFeed> feed = m_store->feed(feedId);
    if (!feed) {
        siteDone(site, 0, true);
        return;
    }
    HttpFetch::Options options = FeedDiscovery::FeedFetchOptions();
    if (!feed->etag.isEmpty())
        options.headers.append({"If-None-Match", feed->etag});
    if (!feed->lastModified.isEmpty())
        options.headers.append({"If-Modified-Since", feed->lastModified});
    FeedJob& job = m_feedJobs[feedId];
    job.address = feed->address;
    job.sites = QStringList{site};
    job.fetchId = m_queue.enqueue(
        QUrl(feed->address), options, this,
        [this, feedId, run = m_run](const HttpFetch::Result& answer) {
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
    if (!answer.answered()) {
        if (answer.reachedServer)
            m_store->recordError(feedId, answer.errorText, now);
        else
            m_heldErrors.append({feedId, answer.errorText});
        feedDone(job.sites, 0, true);
        return;
    }
    if (answer.movedTo.isValid())
        feedId = m_store->moveFeed(feedId, answer.movedTo.toString(QUrl::FullyEncoded));
    if (answer.status == 304) {
        m_store->recordNotModified(feedId, now);
        feedDone(job.sites, 0, false);
        return;
    }
    if (!isSuccess(answer.status) || answer.truncated) {
        m_store->recordError(
            feedId,
            answer.truncated
                ? QStringLiteral("larger than %1 MiB").arg(FeedParser::kMaxBytes / (1024 * 1024))
                : QStringLiteral("the server answered %1").arg(answer.status),
            now);
        feedDone(job.sites, 0, true);
        return;
    }
    storeAnswer(feedId, job.sites, answer);
}

void FeedRefresher::storeAnswer(qint64 feedId, const QStringList& sites,
                                const HttpFetch::Result& answer)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QByteArray body = answer.body;
    const QUrl address = answer.url;
    const QByteArray charset = FeedEncoding::FromContentType(answer.contentType);
    const QByteArray etag = answer.etag;
    const QByteArray lastModified = answer.lastModified;
    FeedWorker* worker = m_worker.get();
    ++m_pendingTasks;
    m_worker
        ->run([worker, feedId, body, address, charset, etag, lastModified, now] {
            Outcome outcome;
            const ParsedFeed parsed = FeedParser::Parse(body, address, charset);
            if (!parsed.isFeed()) {
                outcome.error = QStringLiteral("not a feed: %1").arg(parsed.error);
                return outcome;
            }
            outcome.isFeed = true;
            FeedStore& store = worker->threadStore();
            const FeedStore::Stored stored =
                store.storeFetched(feedId, parsed, etag, lastModified, now);
            outcome.added = stored.added;
            if (!stored.ok)
                outcome.error = QStringLiteral("could not be stored: %1").arg(store.lastError());
            return outcome;
        })
        .then(this, [this, run = m_run, feedId, sites, now](const Outcome& outcome) {
            if (run != m_run)
                return;
            --m_pendingTasks;
            if (!outcome.isFeed)
                m_store->recordError(feedId, outcome.error, now);
            feedDone(sites, outcome.added, !outcome.error.isEmpty());
        });
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
    emit progressChanged(m_done, m_total);
    maybeFinish();
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
    const auto discoveries = std::exchange(m_discoveries, {});
    QStringList sites;
    for (FeedDiscovery* discovery : discoveries) {
        sites.append(discovery->site());
        discovery->cancel();
        discovery->deleteLater();
    }
    const auto jobs = std::exchange(m_feedJobs, {});
    for (const FeedJob& job : jobs) {
        m_queue.cancel(job.fetchId);
        sites.append(job.sites);
    }
    m_starting = true;
    for (const QString& site : std::as_const(sites))
        siteDone(site, 0, true);
    m_starting = false;
}

void FeedRefresher::maybeFinish()
{
    if (m_starting || m_total == 0 || m_done < m_total)
        return;
    finishRun(false);
}

void FeedRefresher::cancel()
{
    if (!isRunning())
        return;
    for (FeedDiscovery* discovery : std::exchange(m_discoveries, {})) {
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
    summary.papers = m_total;
    summary.newItems = m_newItems;
    summary.failed = m_failed;
    summary.cancelled = cancelled;
    summary.offline = m_offline || (!m_reachedAny && m_unreachedPublic > 0);
    if (!summary.offline && !cancelled) {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        for (const auto& [feedId, error] : std::as_const(m_heldErrors))
            m_store->recordError(feedId, error, now);
    }
    summary.message = MessageOf(summary);
    ++m_run;
    m_heldErrors.clear();
    m_sites.clear();
    m_feedJobs.clear();
    m_pendingTasks = 0;
    m_total = m_done = 0;
    emit finished(summary);
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
