// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "LinkResult.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QThreadPool>

// The results of past checks, one per address, kept in linkcheck.json. Saving happens on
// a worker thread, written atomically; a damaged file is ignored and replaced by the next
// save, and so is anything that is not a file or is far larger than the program writes.
class LinkResultStore : public QObject
{
    Q_OBJECT

public:
    using Results = QHash<QString, LinkResult>;

    // Some 2,700 sites and the favorites take well under a megabyte.
    static constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;

    explicit LinkResultStore(QString path, QObject* parent = nullptr);
    ~LinkResultStore() override;

    LinkResultStore(const LinkResultStore&) = delete;
    LinkResultStore& operator=(const LinkResultStore&) = delete;

    // linkcheck.json in the program's data folder.
    [[nodiscard]] static QString DefaultPath();

    [[nodiscard]] const QString& path() const { return m_path; }
    // Reads the file; false (with no results) when it is missing, refused or damaged.
    bool load();
    // Why the file was refused at the last load, as a sentence for the user; empty when it
    // was read, missing or merely damaged.
    [[nodiscard]] const QString& loadProblem() const { return m_loadProblem; }
    // Writes a snapshot of the results in the background; later calls write later.
    void save();
    // Waits for the writes under way.
    void waitForSaved();

    [[nodiscard]] const Results& results() const { return m_results; }
    [[nodiscard]] const LinkResult* find(const QString& url) const;
    void set(const QString& url, const LinkResult& result) { m_results.insert(url, result); }
    // Forgets every address not in the set (sites removed since).
    void retainOnly(const QSet<QString>& urls);

    // The file's bytes for these results, and back; Parse returns false for a damaged file.
    [[nodiscard]] static QByteArray Serialize(const Results& results);
    [[nodiscard]] static bool Parse(const QByteArray& bytes, Results& results);

signals:
    // A save ended, on the store's own thread: failure is empty when the file holds the
    // results, else a sentence saying why it could not be written.
    void saveFinished(const QString& failure);

private:
    QString m_path;
    QString m_loadProblem;
    Results m_results;
    // One thread, so the writes land in the order they were asked for.
    QThreadPool m_writer;
};
