// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "LinkChecker.h"
#include "LinkResultStore.h"

#include <QObject>

#include <memory>

// Runs checks and keeps their results: a full check of the tree's addresses, or one
// address on its own. Every verdict lands in the store at once and on disk when a run
// ends, however it ends.
class LinkCheckController : public QObject
{
    Q_OBJECT

public:
    explicit LinkCheckController(const QString& resultsPath, QObject* parent = nullptr);
    ~LinkCheckController() override;

    [[nodiscard]] LinkChecker& checker() { return m_checker; }
    // Reads the results of another file from now on; a running check is cancelled.
    void setResultsPath(const QString& path);
    [[nodiscard]] LinkResultStore& store() { return *m_store; }
    [[nodiscard]] const LinkResultStore& store() const { return *m_store; }

    // A full check; results of addresses no longer among them are dropped when it
    // completes. False while a check is running.
    bool checkAll(const QStringList& addresses);
    enum class Single
    {
        Started,     // a check of this one address began
        Prioritized, // a full check is running; this address is next
        Running      // a full check is running and has this address under way or done
    };
    Single checkOne(const QString& url);
    void cancel() { m_checker.cancel(); }

    [[nodiscard]] bool isRunning() const { return m_checker.isRunning(); }
    [[nodiscard]] bool isFullRun() const { return m_checker.isRunning() && m_fullRun; }

    // Why the findings on disk were not read or could not be written, as a sentence for the
    // user; empty once a save has succeeded.
    [[nodiscard]] const QString& keepProblem() const { return m_keepProblem; }

signals:
    void resultChanged(const QString& url);
    void runFinished(LinkChecker::Outcome outcome, bool fullRun);
    void keepProblemChanged();

private:
    void onFinished(LinkChecker::Outcome outcome);
    void openStore(const QString& path);
    void setKeepProblem(const QString& problem);

    std::unique_ptr<LinkResultStore> m_store;
    LinkChecker m_checker;
    bool m_fullRun = false;
    QString m_keepProblem;
};
