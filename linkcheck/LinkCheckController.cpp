// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "LinkCheckController.h"

#include "LinkTargets.h"

#include <QSignalBlocker>

LinkCheckController::LinkCheckController(const QString& resultsPath, QObject* parent)
    : QObject(parent)
{
    openStore(resultsPath);
    m_checker.setReachabilityProbes(LinkTargets::ReachabilityProbes());
    connect(&m_checker, &LinkChecker::resultReady, this,
            [this](const QString& url, const LinkResult& result) {
                m_store->set(url, result);
                emit resultChanged(url);
            });
    connect(&m_checker, &LinkChecker::finished, this, &LinkCheckController::onFinished);
}

LinkCheckController::~LinkCheckController()
{
    // Closing the program mid-run keeps what was found so far.
    if (m_checker.isRunning()) {
        const QSignalBlocker quiet(this);
        m_checker.cancel();
    }
    m_store->waitForSaved();
}

void LinkCheckController::setResultsPath(const QString& path)
{
    cancel();
    m_store->waitForSaved();
    openStore(path);
}

void LinkCheckController::openStore(const QString& path)
{
    m_store = std::make_unique<LinkResultStore>(path);
    m_store->load();
    connect(m_store.get(), &LinkResultStore::saveFinished, this,
            &LinkCheckController::setKeepProblem);
    setKeepProblem(m_store->loadProblem());
}

void LinkCheckController::setKeepProblem(const QString& problem)
{
    if (problem == m_keepProblem)
        return;
    m_keepProblem = problem;
    emit keepProblemChanged();
}

bool LinkCheckController::checkAll(const QStringList& addresses)
{
    if (m_checker.isRunning())
        return false;
    m_fullRun = true;
    return m_checker.start(addresses);
}

LinkCheckController::Single LinkCheckController::checkOne(const QString& url)
{
    if (m_checker.isRunning())
        return m_checker.prioritize(url) ? Single::Prioritized : Single::Running;
    m_fullRun = false;
    m_checker.start({url});
    return Single::Started;
}

void LinkCheckController::onFinished(LinkChecker::Outcome outcome)
{
    if (m_fullRun && outcome == LinkChecker::Outcome::Completed) {
        const QStringList& addresses = m_checker.addresses();
        m_store->retainOnly(QSet<QString>(addresses.begin(), addresses.end()));
    }
    m_store->save();
    emit runFinished(outcome, m_fullRun);
}
