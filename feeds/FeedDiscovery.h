// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "FeedCandidate.h"
#include "ParsedFeed.h"
#include "platform/network/FetchQueue.h"

#include <QObject>
#include <QStringList>
#include <QUrl>

class FeedWorker;

// Finds a site's main feed: the feeds its front page names, else the usual addresses under
// the address given and under the host's root, each verified by reading it. The first one
// with items wins, comment feeds passed over; an address that is a feed is its own feed.
// Finishes exactly once.
class FeedDiscovery : public QObject
{
    Q_OBJECT

public:
    struct Result
    {
        QString site;
        QList<FeedCandidate> candidates;
        QString chosen;  // the feed's address; empty when none
        ParsedFeed feed; // the chosen feed as read while verifying it
        QByteArray etag;
        QByteArray lastModified;
        QString reason;           // why there is none
        bool reachedSite = false; // a server answered: "none" is a finding worth keeping
    };

    FeedDiscovery(FetchQueue& queue, FeedWorker& worker, const QString& site,
                  FetchQueue::Priority priority = FetchQueue::Priority::Normal,
                  QObject* parent = nullptr);
    ~FeedDiscovery() override;

    void start();
    void cancel();
    [[nodiscard]] const QString& site() const { return m_result.site; }

    // The usual places of a feed: under the address given, then under the host's root.
    [[nodiscard]] static QStringList WellKnownAddresses(const QUrl& site);
    [[nodiscard]] static bool IsCommentFeed(const FeedCandidate& candidate);
    [[nodiscard]] static HttpFetch::Options FeedFetchOptions();

signals:
    void finished(const FeedDiscovery::Result& result);

private:
    enum class Stage
    {
        Page,
        Named,
        WellKnown
    };

    void onPage(const HttpFetch::Result& page);
    void verifyNext();
    void onCandidate(int index, const HttpFetch::Result& answer);
    void choose(int index, const HttpFetch::Result& answer, const ParsedFeed& feed);
    void finish();

    FetchQueue& m_queue;
    FeedWorker& m_worker;
    FetchQueue::Priority m_priority;
    QUrl m_site;
    Result m_result;
    Stage m_stage = Stage::Page;
    QList<int> m_toVerify;
    QString m_lastProblem;
    quint64 m_fetchId = 0;
    bool m_done = false;
};
