#pragma once

#include "LinkResult.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QThreadPool>

// The results of past checks, one per address, kept in linkcheck.json. Saving happens on
// a worker thread, written atomically; a damaged file is ignored and replaced by the next
// save.
class LinkResultStore
{
public:
    using Results = QHash<QString, LinkResult>;

    explicit LinkResultStore(QString path);
    ~LinkResultStore();

    LinkResultStore(const LinkResultStore&) = delete;
    LinkResultStore& operator=(const LinkResultStore&) = delete;

    // linkcheck.json in the program's data folder.
    [[nodiscard]] static QString DefaultPath();

    [[nodiscard]] const QString& path() const { return m_path; }
    // Reads the file; false (with no results) when it is missing or damaged.
    bool load();
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

private:
    QString m_path;
    Results m_results;
    // One thread, so the writes land in the order they were asked for.
    QThreadPool m_writer;
};
