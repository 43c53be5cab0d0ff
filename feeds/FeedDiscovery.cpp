// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FeedDiscovery.h"

#include "FeedEncoding.h"
#include "FeedParser.h"
#include "FeedWorker.h"
#include "PageHead.h"
#include "platform/network/WebAddress.h"

namespace {
const char* const kWellKnownPaths[] = {
    "feed",     "feed/",    "rss",       "rss/",      "rss.xml",
    "feed.xml", "atom.xml", "index.xml", "index.rss", "feeds/posts/default"};

struct PageScan
{
    ParsedFeed feed; // when the page is itself a feed
    PageHead::Links links;
};

bool isSuccess(int status)
{
    return status >= 200 && status < 300;
}

QString described(const HttpFetch::Result& answer)
{
    if (!answer.errorText.isEmpty())
        return answer.errorText;
    if (answer.truncated)
        return QStringLiteral("larger than %1 MiB").arg(FeedParser::kMaxBytes / (1024 * 1024));
    return QStringLiteral("the server answered %1").arg(answer.status);
}
} // namespace

FeedDiscovery::FeedDiscovery(FetchQueue& queue, FeedWorker& worker, const QString& site,
                             FetchQueue::Priority priority, QObject* parent)
    : QObject(parent), m_queue(queue), m_worker(worker), m_priority(priority),
      m_site(site.trimmed())
{
    m_result.site = site;
}

FeedDiscovery::~FeedDiscovery()
{
    cancel();
}

HttpFetch::Options FeedDiscovery::FeedFetchOptions()
{
    HttpFetch::Options options;
    options.maxBytes = FeedParser::kMaxBytes;
    options.accept = "application/rss+xml, application/atom+xml, application/feed+json, "
                     "application/rdf+xml;q=0.9, application/xml;q=0.9, text/xml;q=0.9, "
                     "application/json;q=0.8, */*;q=0.5";
    return options;
}

QStringList FeedDiscovery::WellKnownAddresses(const QUrl& site)
{
    QStringList folders;
    QString path = site.path();
    if (path.isEmpty())
        path = QStringLiteral("/");
    if (!path.endsWith(QLatin1Char('/'))) {
        // "/news/index.html" is a page of the folder "/news/"; "/news" names the folder.
        const QString last = path.section(QLatin1Char('/'), -1);
        path = last.contains(QLatin1Char('.')) ? path.left(path.size() - last.size())
                                               : path + QLatin1Char('/');
    }
    folders.append(path);
    if (path != QLatin1String("/"))
        folders.append(QStringLiteral("/"));
    QStringList addresses;
    for (const QString& folder : std::as_const(folders)) {
        QUrl base = site;
        base.setPath(folder);
        base.setQuery(QString());
        base.setFragment(QString());
        for (const char* known : kWellKnownPaths)
            addresses.append(
                base.resolved(QUrl(QLatin1String(known))).toString(QUrl::FullyEncoded));
    }
    return addresses;
}

bool FeedDiscovery::IsCommentFeed(const FeedCandidate& candidate)
{
    const QString title = candidate.title.toLower();
    const QString path = QUrl(candidate.url).path().toLower();
    for (const char* word : {"comment", "coment", "kommentar"}) {
        if (title.contains(QLatin1String(word)) || path.contains(QLatin1String(word)))
            return true;
    }
    return false;
}

void FeedDiscovery::start()
{
    if (!WebAddress::IsWeb(m_site)) {
        m_result.reason = QStringLiteral("not a web address");
        QMetaObject::invokeMethod(this, &FeedDiscovery::finish, Qt::QueuedConnection);
        return;
    }
    HttpFetch::Options options;
    options.maxBytes = PageHead::kMaxBytes;
    options.accept = "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8";
    m_fetchId = m_queue.enqueue(
        m_site, options, this, [this](const HttpFetch::Result& page) { onPage(page); }, m_priority);
}

void FeedDiscovery::cancel()
{
    if (m_fetchId != 0)
        m_queue.cancel(m_fetchId);
    m_fetchId = 0;
    m_done = true;
}

void FeedDiscovery::onPage(const HttpFetch::Result& page)
{
    m_fetchId = 0;
    m_result.reachedSite = page.reachedServer;
    if (!page.answered() || !isSuccess(page.status)) {
        if (!page.reachedServer) {
            m_result.reason =
                QStringLiteral("the site could not be reached: %1").arg(described(page));
            finish();
            return;
        }
        m_lastProblem = QStringLiteral("its front page: %1").arg(described(page));
        m_stage = Stage::Named;
        verifyNext();
        return;
    }
    const QByteArray charset = FeedEncoding::FromContentType(page.contentType);
    const QByteArray body = page.body;
    const QUrl address = page.url;
    m_worker
        .run([body, address, charset] {
            PageScan scan;
            scan.feed = FeedParser::Parse(body, address, charset);
            if (!scan.feed.isFeed() || scan.feed.items.isEmpty())
                scan.links = PageHead::Read(body, address, charset);
            return scan;
        })
        .then(this, [this, page](const PageScan& scan) {
            if (m_done)
                return;
            if (scan.feed.isFeed() && !scan.feed.items.isEmpty()) {
                // The address is a feed: it is the site's feed.
                FeedCandidate self;
                self.url =
                    (page.movedTo.isValid() ? page.movedTo : m_site).toString(QUrl::FullyEncoded);
                self.title = scan.feed.title;
                self.type = FeedFormatName(scan.feed.format);
                m_result.candidates.append(self);
                choose(0, page, scan.feed);
                return;
            }
            m_result.candidates = scan.links.feeds;
            for (int i = 0; i < m_result.candidates.size(); ++i) {
                if (!IsCommentFeed(m_result.candidates.at(i)))
                    m_toVerify.append(i);
            }
            m_stage = Stage::Named;
            verifyNext();
        });
}

void FeedDiscovery::verifyNext()
{
    if (m_done)
        return;
    if (m_toVerify.isEmpty() && m_stage == Stage::Named) {
        // Nothing named, or nothing named could be read: the usual places.
        m_stage = Stage::WellKnown;
        for (const QString& address : WellKnownAddresses(m_site)) {
            const bool listed = std::any_of(
                m_result.candidates.cbegin(), m_result.candidates.cend(),
                [&address](const FeedCandidate& candidate) { return candidate.url == address; });
            if (listed)
                continue;
            FeedCandidate guess;
            guess.url = address;
            m_result.candidates.append(guess);
            m_toVerify.append(int(m_result.candidates.size()) - 1);
        }
    }
    if (m_toVerify.isEmpty()) {
        const bool named = std::any_of(m_result.candidates.cbegin(), m_result.candidates.cend(),
                                       [](const FeedCandidate& c) { return !c.type.isEmpty(); });
        m_result.reason =
            named ? QStringLiteral("the feeds the site names could not be read (%1)")
                        .arg(m_lastProblem)
                  : QStringLiteral("the site names no feed, and none was found at the usual "
                                   "addresses");
        finish();
        return;
    }
    const int index = m_toVerify.takeFirst();
    m_fetchId = m_queue.enqueue(
        QUrl(m_result.candidates.at(index).url), FeedFetchOptions(), this,
        [this, index](const HttpFetch::Result& answer) { onCandidate(index, answer); }, m_priority);
}

void FeedDiscovery::onCandidate(int index, const HttpFetch::Result& answer)
{
    m_fetchId = 0;
    m_result.reachedSite = m_result.reachedSite || answer.reachedServer;
    if (!answer.answered() || !isSuccess(answer.status) || answer.truncated) {
        m_lastProblem =
            QStringLiteral("%1: %2").arg(m_result.candidates.at(index).url, described(answer));
        verifyNext();
        return;
    }
    const QByteArray body = answer.body;
    const QUrl address = answer.url;
    const QByteArray charset = FeedEncoding::FromContentType(answer.contentType);
    m_worker.run([body, address, charset] { return FeedParser::Parse(body, address, charset); })
        .then(this, [this, index, answer](const ParsedFeed& feed) {
            if (m_done)
                return;
            if (!feed.isFeed() || feed.items.isEmpty()) {
                m_lastProblem = QStringLiteral("%1: %2").arg(
                    m_result.candidates.at(index).url,
                    feed.isFeed() ? QStringLiteral("a feed without items") : feed.error);
                verifyNext();
                return;
            }
            choose(index, answer, feed);
        });
}

void FeedDiscovery::choose(int index, const HttpFetch::Result& answer, const ParsedFeed& feed)
{
    FeedCandidate& candidate = m_result.candidates[index];
    candidate.verified = true;
    if (candidate.type.isEmpty())
        candidate.type = FeedFormatName(feed.format);
    if (candidate.title.isEmpty())
        candidate.title = feed.title;
    // A feed that has moved for good is kept under its new address.
    m_result.chosen =
        answer.movedTo.isValid() ? answer.movedTo.toString(QUrl::FullyEncoded) : candidate.url;
    m_result.feed = feed;
    m_result.etag = answer.etag;
    m_result.lastModified = answer.lastModified;
    finish();
}

void FeedDiscovery::finish()
{
    if (m_done)
        return;
    m_done = true;
    emit finished(m_result);
}
