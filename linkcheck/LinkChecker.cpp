// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "LinkChecker.h"

#include "LinkProbe.h"
#include "LinkVerdict.h"
#include "platform/network/NetworkFailure.h"
#include "platform/network/WebAddress.h"

#include <QNetworkProxy>
#include <QSignalBlocker>

#include <algorithm>

namespace {
LinkResult resultOf(LinkResult::Status status, const QString& error)
{
    LinkResult result;
    result.status = status;
    result.error = error;
    result.checked = QDateTime::currentDateTimeUtc();
    return result;
}
} // namespace

LinkChecker::LinkChecker(QObject* parent) : QObject(parent), m_classifier(HostScope::System()) {}

LinkChecker::~LinkChecker()
{
    const QSignalBlocker quiet(this);
    stopAll();
}

void LinkChecker::setLimits(const Limits& limits)
{
    m_limits = limits;
    m_slots.setLimits(limits);
}

void LinkChecker::setProxy(const QNetworkProxy& proxy)
{
    m_web.setProxy(proxy);
}

LinkChecker::Job LinkChecker::MakeJob(const QString& url, bool probe)
{
    Job job;
    job.url = url;
    job.parsed = QUrl(url.trimmed());
    job.host = job.parsed.host().toLower();
    job.key = WebAddress::SiteKey(job.parsed);
    job.probe = probe;
    return job;
}

bool LinkChecker::start(const QStringList& urls)
{
    if (m_running)
        return false;
    m_addresses.clear();
    m_pending.clear();
    m_hosts.clear();
    m_publicHostsTried.clear();
    m_held.clear();
    m_online = m_offline = m_probesQueued = false;
    m_progress = {};

    QSet<QString> seen;
    QList<Job> jobs;
    QHash<QString, int> perKey;
    for (const QString& url : urls) {
        if (url.trimmed().isEmpty() || seen.contains(url))
            continue;
        seen.insert(url);
        m_addresses.append(url);
        jobs.append(MakeJob(url, false));
        ++perKey[jobs.last().key];
    }
    // Sites with many addresses go first: two at a time, they would otherwise be the tail
    // that everything else waits for.
    std::stable_sort(jobs.begin(), jobs.end(), [&perKey](const Job& a, const Job& b) {
        return perKey.value(a.key) > perKey.value(b.key);
    });
    for (Job& job : jobs)
        m_pending.push_back(std::move(job));

    m_progress.total = static_cast<int>(m_addresses.size());
    m_running = true;
    emit progressChanged();
    schedule();
    return true;
}

bool LinkChecker::prioritize(const QString& url)
{
    const auto it = std::find_if(m_pending.begin(), m_pending.end(),
                                 [&url](const Job& job) { return !job.probe && job.url == url; });
    if (it == m_pending.end())
        return false;
    m_pending.splice(m_pending.begin(), m_pending, it);
    return true;
}

void LinkChecker::cancel()
{
    if (!m_running)
        return;
    stopAll();
    m_running = false;
    emit progressChanged();
    emit finished(Outcome::Cancelled);
}

void LinkChecker::stopAll()
{
    for (auto& [id, active] : m_active) {
        if (active.probe) {
            active.probe->abort();
            active.probe->deleteLater();
        }
    }
    m_active.clear();
    m_slots.clear();
    m_pending.clear();
    m_held.clear();
    for (Host& host : m_hosts)
        host.waiting.clear();
}

void LinkChecker::schedule()
{
    // Checks that end at once (a missing host, offline) end inside this loop; they ask
    // for another round instead of recursing.
    if (m_inSchedule) {
        m_scheduleAgain = true;
        return;
    }
    m_inSchedule = true;
    do {
        m_scheduleAgain = false;
        while (m_running && !m_slots.isFull() && dispatchNext()) {
        }
    } while (m_scheduleAgain && m_running);
    m_inSchedule = false;
    maybeFinish();
}

bool LinkChecker::dispatchNext()
{
    for (auto it = m_pending.begin(); it != m_pending.end(); ++it) {
        if (!m_slots.canStart(it->key))
            continue;
        const quint64 id = ++m_nextId;
        Active& active = m_active[id];
        active.job = std::move(*it);
        m_pending.erase(it);
        m_slots.take(active.job.key);
        if (!WebAddress::IsWeb(active.job.parsed)) {
            conclude(id, resultOf(LinkResult::Status::Unsure, QStringLiteral("not a web address")),
                     false);
            return true;
        }
        classify(id);
        return true;
    }
    return false;
}

void LinkChecker::classify(quint64 id)
{
    const QString hostName = m_active.at(id).job.host;
    Host& host = m_hosts[hostName];
    switch (host.state) {
    case Host::State::Known:
        proceed(id, host.kind);
        return;
    case Host::State::Resolving:
        host.waiting.append(id);
        return;
    case Host::State::Unknown:
        break;
    }
    if (m_offline && !HostScope::IsLocalName(hostName)) {
        // Offline, a public name is not even looked up: the answer would be "not found".
        proceed(id, HostScope::Kind::Public);
        return;
    }
    host.state = Host::State::Resolving;
    host.waiting.append(id);
    m_classifier(hostName, this,
                 [this, hostName](HostScope::Kind kind) { onClassified(hostName, kind); });
}

void LinkChecker::onClassified(const QString& hostName, HostScope::Kind kind)
{
    Host& host = m_hosts[hostName];
    host.state = Host::State::Known;
    host.kind = kind;
    const QList<quint64> waiting = std::exchange(host.waiting, {});
    for (const quint64 id : waiting) {
        if (m_active.count(id))
            proceed(id, kind);
    }
    schedule();
}

void LinkChecker::proceed(quint64 id, HostScope::Kind kind)
{
    Active& active = m_active.at(id);
    active.isPublic = kind != HostScope::Kind::Local;
    if (active.isPublic && m_offline) {
        conclude(id, {}, false, true);
        return;
    }
    if (kind == HostScope::Kind::NotFound) {
        conclude(id,
                 resultOf(LinkResult::Status::Dead,
                          NetworkFailure::Describe(QNetworkReply::HostNotFoundError)),
                 false);
        return;
    }
    LinkProbe::Settings settings;
    settings.timeoutMs = m_limits.timeoutMs;
    settings.retryDelayMs = m_limits.retryDelayMs;
    settings.maxRedirects = m_limits.maxRedirects;
    active.probe = new LinkProbe(m_web, active.job.parsed, settings, this);
    connect(active.probe, &LinkProbe::finished, this,
            [this, id](const LinkResult& result, bool reached) { conclude(id, result, reached); });
    active.probe->start();
}

void LinkChecker::conclude(quint64 id, const LinkResult& result, bool reached, bool skipped)
{
    const auto it = m_active.find(id);
    if (it == m_active.end())
        return;
    const Active active = std::move(it->second);
    m_active.erase(it);
    m_slots.give(active.job.key);
    if (active.probe)
        active.probe->deleteLater();

    if (!active.job.probe) {
        ++m_progress.done;
        if (skipped)
            ++m_progress.notChecked;
        else if (active.isPublic && !reached && !m_online)
            m_held.append({active.job.url, result});
        else
            publish(active.job.url, result);
    }
    if (active.isPublic && !skipped && !m_online && !m_offline) {
        m_publicHostsTried.insert(active.job.host);
        if (reached)
            goOnline();
        else if (m_publicHostsTried.size() >= m_limits.offlineSample)
            goOffline();
    }
    emit progressChanged();
    schedule();
}

void LinkChecker::publish(const QString& url, const LinkResult& result)
{
    switch (result.status) {
    case LinkResult::Status::Alive:
        ++m_progress.alive;
        break;
    case LinkResult::Status::Moved:
        ++m_progress.moved;
        break;
    case LinkResult::Status::Dead:
        ++m_progress.dead;
        break;
    case LinkResult::Status::Unsure:
        ++m_progress.unsure;
        break;
    }
    emit resultReady(url, result);
}

void LinkChecker::goOnline()
{
    m_online = true;
    const auto held = std::exchange(m_held, {});
    for (const auto& [url, result] : held)
        publish(url, result);
}

void LinkChecker::goOffline()
{
    m_offline = true;
    m_progress.notChecked += static_cast<int>(m_held.size());
    m_held.clear();
    // Public checks still under way would only add more of the same.
    QList<quint64> publicIds;
    for (const auto& [id, active] : m_active) {
        if (active.isPublic && active.probe)
            publicIds.append(id);
    }
    for (const quint64 id : publicIds) {
        m_active.at(id).probe->abort();
        conclude(id, {}, false, true);
    }
}

void LinkChecker::maybeFinish()
{
    if (!m_running || m_inSchedule || !m_pending.empty() || !m_active.empty())
        return;
    if (!m_online && !m_offline && !m_held.isEmpty()) {
        if (!m_probesQueued) {
            m_probesQueued = true;
            const int wanted = m_limits.offlineSample - static_cast<int>(m_publicHostsTried.size());
            int queued = 0;
            for (const QString& url : std::as_const(m_reachabilityProbes)) {
                if (queued >= wanted)
                    break;
                Job job = MakeJob(url, true);
                if (m_publicHostsTried.contains(job.host))
                    continue;
                m_pending.push_back(std::move(job));
                ++queued;
            }
            if (queued > 0) {
                schedule();
                return;
            }
        }
        goOffline();
    }
    m_running = false;
    emit progressChanged();
    emit finished(m_offline ? Outcome::Offline : Outcome::Completed);
}
