// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

// The connection to the headlines database, headlines.sqlite in the user's folder. Opening
// it checks it, moves a damaged one aside (kept, the date in its name) and starts a new
// one, and brings its tables up to the current version. WAL and a busy time-out let two
// copies of the program write at once. One connection per thread that uses it.
class FeedDatabase
{
public:
    static constexpr int kSchemaVersion = 1;
    static constexpr int kBusyTimeoutMs = 5000;

    enum class Check
    {
        Full,   // the first connection of a process: check, mend, migrate
        Trusted // further connections of the same process
    };

    FeedDatabase(const QString& path, Check check);
    ~FeedDatabase();
    FeedDatabase(const FeedDatabase&) = delete;
    FeedDatabase& operator=(const FeedDatabase&) = delete;

    [[nodiscard]] QSqlDatabase& connection() { return m_db; }
    [[nodiscard]] bool isOpen() const { return m_db.isOpen(); }
    [[nodiscard]] const QString& path() const { return m_path; }
    // One line for the status bar when opening found something wrong; empty when not.
    [[nodiscard]] const QString& problem() const { return m_problem; }

    // Whether an error means the file is damaged (SQLite's "corrupt" or "not a database").
    [[nodiscard]] static bool IsDamage(const QSqlError& error);

private:
    enum class Opened
    {
        Ok,
        Damaged,
        Failed
    };

    Opened open(bool check);
    void openStandIn();
    bool migrate();
    void close();
    QString moveAside();

    QString m_path;
    QString m_name;
    QSqlDatabase m_db;
    QString m_problem;
    bool m_standIn = false; // a file of this process alone, removed when closed
};
