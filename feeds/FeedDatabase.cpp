// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FeedDatabase.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSqlQuery>

namespace {
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteNotADatabase = 26;

// Each version's statements, applied in one transaction each; index 0 makes version 1.
const QList<QStringList>& Migrations()
{
    static const QList<QStringList> migrations = {{
        QStringLiteral("CREATE TABLE feeds ("
                       " id INTEGER PRIMARY KEY,"
                       " address TEXT NOT NULL UNIQUE,"
                       " format TEXT NOT NULL DEFAULT '',"
                       " title TEXT NOT NULL DEFAULT '',"
                       " link TEXT NOT NULL DEFAULT '',"
                       " etag TEXT NOT NULL DEFAULT '',"
                       " last_modified TEXT NOT NULL DEFAULT '',"
                       " fetched_at INTEGER,"
                       " error TEXT NOT NULL DEFAULT '',"
                       " error_at INTEGER)"),
        QStringLiteral("CREATE TABLE sites ("
                       " address TEXT PRIMARY KEY,"
                       " feed_id INTEGER REFERENCES feeds(id) ON DELETE SET NULL,"
                       " looked_up_at INTEGER NOT NULL,"
                       " reason TEXT NOT NULL DEFAULT '')"),
        QStringLiteral("CREATE TABLE items ("
                       " id INTEGER PRIMARY KEY,"
                       " feed_id INTEGER NOT NULL REFERENCES feeds(id) ON DELETE CASCADE,"
                       " guid TEXT NOT NULL,"
                       " title TEXT NOT NULL,"
                       " link TEXT NOT NULL,"
                       " summary TEXT NOT NULL,"
                       " published INTEGER,"
                       " updated INTEGER,"
                       " seen_at INTEGER NOT NULL,"
                       " sort_at INTEGER NOT NULL,"
                       " read INTEGER NOT NULL DEFAULT 0,"
                       " UNIQUE (feed_id, guid))"),
        // Every list is of some papers' feeds, newest first; the read mark in the index
        // counts the unread without reading the items.
        QStringLiteral("CREATE INDEX items_by_feed ON items (feed_id, sort_at DESC, read)"),
    }};
    return migrations;
}

int sqliteCode(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? (code & 0xff) : 0;
}

QString connectionName()
{
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("kestrin-feeds-%1").arg(++counter);
}
} // namespace

FeedDatabase::FeedDatabase(const QString& path, Check check) : m_path(path)
{
    if (check == Check::Trusted) {
        if (open(false) != Opened::Ok)
            m_problem = QStringLiteral("The headlines database could not be opened.");
        return;
    }
    // Two copies starting at once must not both mend or migrate the same file.
    QLockFile lock(m_path + QStringLiteral(".lock"));
    lock.setStaleLockTime(30000);
    lock.tryLock(10000);

    const QFileInfo info(m_path);
    if (info.exists() && (!info.isFile() || info.isSymLink())) {
        m_problem = QStringLiteral("%1 is not a plain file: headlines are not kept this time.")
                        .arg(info.fileName());
        openStandIn();
        return;
    }
    Opened opened = open(true);
    if (opened == Opened::Ok && !migrate())
        opened = Opened::Failed;
    if (opened == Opened::Damaged) {
        close();
        const QString kept = moveAside();
        opened = open(true);
        if (opened == Opened::Ok)
            migrate();
        m_problem = kept.isEmpty()
                        ? QStringLiteral("The headlines database was damaged and could not be "
                                         "moved aside; headlines are not kept this time.")
                        : QStringLiteral("The headlines database was damaged; it was kept as %1 "
                                         "and a new one started.")
                              .arg(kept);
    }
    if (opened != Opened::Ok || !m_db.isOpen()) {
        if (m_problem.isEmpty())
            m_problem =
                QStringLiteral("The headlines database could not be opened (%1); headlines are "
                               "not kept this time.")
                    .arg(m_db.lastError().text().trimmed());
        close();
        openStandIn();
    }
}

void FeedDatabase::openStandIn()
{
    // The engine keeps working for this session; the worker thread's connection opens the
    // same file, so it cannot be an in-memory database.
    m_path = QDir::temp().filePath(
        QStringLiteral("kestrin-headlines-%1.sqlite").arg(QCoreApplication::applicationPid()));
    QFile::remove(m_path);
    m_standIn = true;
    if (open(false) == Opened::Ok)
        migrate();
}

FeedDatabase::~FeedDatabase()
{
    close();
    if (m_standIn) {
        for (const char* suffix : {"", "-wal", "-shm"})
            QFile::remove(m_path + QLatin1String(suffix));
    }
}

bool FeedDatabase::IsDamage(const QSqlError& error)
{
    const int code = sqliteCode(error);
    return code == kSqliteCorrupt || code == kSqliteNotADatabase;
}

FeedDatabase::Opened FeedDatabase::open(bool check)
{
    m_name = connectionName();
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    m_db.setDatabaseName(m_path);
    m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!m_db.open())
        return IsDamage(m_db.lastError()) ? Opened::Damaged : Opened::Failed;
    QSqlQuery query(m_db);
    // The first statement reads the file's header: garbage fails here.
    for (const QString& pragma : {QStringLiteral("PRAGMA journal_mode = WAL"),
                                  QStringLiteral("PRAGMA synchronous = NORMAL"),
                                  QStringLiteral("PRAGMA foreign_keys = ON")}) {
        if (!query.exec(pragma))
            return IsDamage(query.lastError()) ? Opened::Damaged : Opened::Failed;
    }
    if (!check)
        return Opened::Ok;
    if (!query.exec(QStringLiteral("PRAGMA quick_check")))
        return IsDamage(query.lastError()) ? Opened::Damaged : Opened::Failed;
    if (!query.next() || query.value(0).toString() != QLatin1String("ok"))
        return Opened::Damaged;
    return Opened::Ok;
}

bool FeedDatabase::migrate()
{
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return false;
    int version = query.value(0).toInt();
    const QList<QStringList>& migrations = Migrations();
    Q_ASSERT(migrations.size() == kSchemaVersion);
    // A newer program's database is used as it is: its versions only ever add.
    while (version < kSchemaVersion) {
        if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
            return false;
        bool ok = true;
        for (const QString& statement : migrations.at(version))
            ok = ok && query.exec(statement);
        ok = ok && query.exec(QStringLiteral("PRAGMA user_version = %1").arg(version + 1));
        if (!ok) {
            query.exec(QStringLiteral("ROLLBACK"));
            return false;
        }
        if (!query.exec(QStringLiteral("COMMIT")))
            return false;
        ++version;
    }
    return true;
}

void FeedDatabase::close()
{
    if (m_name.isEmpty())
        return;
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
    m_name.clear();
}

QString FeedDatabase::moveAside()
{
    const QFileInfo info(m_path);
    const QString stem = info.completeBaseName() + QStringLiteral("-damaged-") +
                         QDate::currentDate().toString(Qt::ISODate);
    QString name = stem + QStringLiteral(".sqlite");
    for (int n = 2; QFileInfo::exists(info.dir().filePath(name)); ++n)
        name = stem + QStringLiteral("-%1.sqlite").arg(n);
    const QString target = info.dir().filePath(name);
    if (!QFile::rename(m_path, target))
        return {};
    // The journal belongs to the damaged file; the shared-memory index is rebuilt.
    QFile::rename(m_path + QStringLiteral("-wal"), target + QStringLiteral("-wal"));
    QFile::remove(m_path + QStringLiteral("-shm"));
    return name;
}
