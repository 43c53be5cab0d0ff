// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FavoritesTestCase.h"
#include "favorites/CFavoritesLock.h"
#include "favorites/CXmlDocument.h"
#include "support/CoreTestMain.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>

#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QStringList titles(const QList<FavoriteRecord>& records)
{
    QStringList result;
    for (const FavoriteRecord& record : records)
        result.append(record.title);
    return result;
}

QStringList numbered(const QString& prefix, int count)
{
    QStringList result;
    for (int i = 0; i < count; ++i)
        result.append(prefix + QLatin1Char(' ') + QString::number(i));
    return result;
}
} // namespace

class FavoritesProcessesTest : public FavoritesTestCase
{
    Q_OBJECT

private:
    [[nodiscard]] QStringList entries() const { return folder().entries(); }
    [[nodiscard]] QList<FavoriteRecord> readAll() const
    {
        QList<FavoriteRecord> records;
        (void)store().ReadAll(records);
        return records;
    }
    void startWriter(QProcess& process, const QString& prefix, int count) const
    {
        process.setProgram(QStringLiteral(KESTRIN_FAVORITES_WRITER));
        process.setArguments({folder().path(), prefix, QString::number(count)});
        process.setProcessChannelMode(QProcess::SeparateChannels);
        process.start();
    }

private slots:
    void init()
    {
        FavoritesTestCase::init();
        writeFavorites({});
    }

    void twoCopiesAddingAtOnceLoseNothing()
    {
        constexpr int kEach = 300;
        QProcess first;
        QProcess second;
        startWriter(first, QStringLiteral("first"), kEach);
        startWriter(second, QStringLiteral("second"), kEach);
        for (QProcess* process : {&first, &second}) {
            QVERIFY(process->waitForFinished(240000));
            QVERIFY2(process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0,
                     process->readAllStandardError().constData());
            QCOMPARE(process->readAllStandardOutput().count("added "), kEach);
        }

        const QStringList all = titles(readAll());
        QCOMPARE(all.size(), 2 * kEach);
        // Each copy's adds are all there, in the order it made them.
        for (const QString& prefix : {QStringLiteral("first"), QStringLiteral("second")}) {
            QStringList own;
            for (const QString& title : all) {
                if (title.startsWith(prefix + QLatin1Char(' ')))
                    own.append(title);
            }
            QCOMPARE(own, numbered(prefix, kEach));
        }
        QCOMPARE(entries(),
                 (QStringList{QStringLiteral("Favorites.xml"), QStringLiteral("backups")}));
        // Each copy backed the file up once, before its own first change.
        QCOMPARE(QDir(folder().filePath(QStringLiteral("backups")))
                     .entryList({QStringLiteral("*.xml")}, QDir::Files)
                     .size(),
                 2);
    }

    void killedCopyLeavesOldOrNewRecordsAndNothingAfterTheNextStart()
    {
        constexpr int kTrials = 60;
        QStringList expected;
        int leftBehind = 0;
        int cutMidWay = 0;
        auto* random = QRandomGenerator::global();
        for (int trial = 0; trial < kTrials; ++trial) {
            const QString prefix = QStringLiteral("trial%1").arg(trial);
            QProcess writer;
            startWriter(writer, prefix, 1000);
            QVERIFY(writer.waitForStarted(30000));
            // Killed after a few adds, at a random point of the next one.
            const int adds = int(random->bounded(4));
            QByteArray output;
            while (output.count('\n') < adds && writer.waitForReadyRead(30000))
                output += writer.readAllStandardOutput();
            // Anywhere in the next add: the turn a copy leaves others, then the save.
            ::usleep(random->bounded(90000));
            writer.kill();
            QVERIFY(writer.waitForFinished(30000));
            output += writer.readAllStandardOutput();
            const int reported = int(output.count("added "));
            QCOMPARE(output.count("refused "), 0);

            CXmlDocument check;
            QVERIFY(!xml::Failed(check.CreateInstance()));
            QVERIFY2(check.Load(favoritesPath()), qPrintable(check.GetParseError()));
            const QStringList now = titles(readAll());
            const QStringList before = expected + numbered(prefix, reported);
            const QStringList after = expected + numbered(prefix, reported + 1);
            QVERIFY2(now == before || now == after, qPrintable(prefix));
            cutMidWay += now == after ? 1 : 0;
            expected = now;

            leftBehind += entries().filter(QStringLiteral(".tmp")).isEmpty() ? 0 : 1;
            // The next start clears what the killed copy left. A lock file the copy had only
            // begun to write names no owner: it goes once it is a moment old, which the next
            // writer's adds show by never being refused.
            store().RemoveLeftovers();
            QStringList left = entries();
            // A copy killed while it waited for such a lock leaves its waiting mark, which
            // goes at the next change.
            if (TestFiles::Read(favoritesPath() + QStringLiteral(".lock")).isEmpty()) {
                left.removeAll(QStringLiteral("Favorites.xml.lock"));
                left.removeAll(QStringLiteral("Favorites.xml.lock.wait"));
            }
            left.removeAll(QStringLiteral("backups"));
            QCOMPARE(left, QStringList{QStringLiteral("Favorites.xml")});
            QCOMPARE(QDir(folder().filePath(QStringLiteral("backups")))
                         .entryList(QDir::Files | QDir::Hidden)
                         .filter(QStringLiteral(".tmp")),
                     QStringList());
        }
        qInfo("%d of %d kills left a temporary file; %d landed after a save's rename", leftBehind,
              kTrials, cutMidWay);
        QVERIFY(store().Update(CFavoritesStore::Add, QStringLiteral("After"),
                               QStringLiteral("http://after/")));
        QCOMPARE(titles(readAll()), expected + QStringList{QStringLiteral("After")});
        QCOMPARE(entries(),
                 (QStringList{QStringLiteral("Favorites.xml"), QStringLiteral("backups")}));
    }

    void changeWaitsForAnotherCopyThenRefusesWithAReason()
    {
        const QByteArray before = TestFiles::Read(favoritesPath());
        {
            QLockFile other(CFavoritesLock::LockPathFor(favoritesPath()));
            QVERIFY(other.tryLock());
            const FavoritesResult added = store().Update(
                CFavoritesStore::Add, QStringLiteral("Blocked"), QStringLiteral("http://blocked/"));
            const FavoritesResult backup = store().Backup();
            QCOMPARE(added.code, Code::Failed);
            QCOMPARE(added.path, favoritesPath());
            QCOMPARE(backup.code, Code::BackupLocked);
            for (const FavoritesResult& result : {added, backup})
                QVERIFY2(
                    result.reason.contains(QStringLiteral("Another copy of Kestrin News Reader")),
                    qPrintable(result.reason));
        }
        QCOMPARE(TestFiles::Read(favoritesPath()), before);
        QCOMPARE(entries(), QStringList{QStringLiteral("Favorites.xml")});

        QVERIFY(store().Update(CFavoritesStore::Add, QStringLiteral("Free"),
                               QStringLiteral("http://free/")));
        QCOMPARE(titles(readAll()), QStringList{QStringLiteral("Free")});
    }

    void unusableLockSaysWhichFileToRemove_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("another user's") << QStringLiteral("owner");
        QTest::newRow("dangling link") << QStringLiteral("link");
        QTest::newRow("folder") << QStringLiteral("folder");
        QTest::newRow("pipe") << QStringLiteral("pipe");
    }

    // No copy can ever take such a lock: the user is told at once which file to remove,
    // instead of "try again" for ever.
    void unusableLockSaysWhichFileToRemove()
    {
        QFETCH(QString, kind);
        const QString lockPath = CFavoritesLock::LockPathFor(favoritesPath());
        const QByteArray name = QFile::encodeName(lockPath);
        if (kind == QLatin1String("owner")) {
            QVERIFY(TestFiles::Write(lockPath, "1\nother\nhost\n"));
            if (::chown(name.constData(), 65534, 65534) != 0)
                QSKIP("files cannot be given to another user here");
        } else if (kind == QLatin1String("link")) {
            QVERIFY(QFile::link(folder().filePath(QStringLiteral("gone")), lockPath));
        } else if (kind == QLatin1String("folder")) {
            QVERIFY(QDir().mkdir(lockPath));
        } else {
            QCOMPARE(::mkfifo(name.constData(), 0600), 0);
        }
        const QByteArray before = TestFiles::Read(favoritesPath());

        const FavoritesResult added = store().Update(CFavoritesStore::Add, QStringLiteral("New"),
                                                     QStringLiteral("http://new/"));
        const FavoritesResult backup = store().Backup();
        QCOMPARE(added.code, Code::Failed);
        QCOMPARE(backup.code, Code::BackupLocked);
        for (const FavoritesResult& result : {added, backup}) {
            QVERIFY2(result.reason.contains(lockPath) &&
                         result.reason.contains(QStringLiteral("Remove that file")) &&
                         !result.reason.contains(QStringLiteral("Another copy")),
                     qPrintable(result.reason));
        }
        QCOMPARE(TestFiles::Read(favoritesPath()), before);

        // Removed as told, the change goes through.
        QVERIFY(QFile::remove(lockPath) || QDir().rmdir(lockPath));
        QVERIFY(store().Update(CFavoritesStore::Add, QStringLiteral("New"),
                               QStringLiteral("http://new/")));
        QCOMPARE(titles(readAll()), QStringList{QStringLiteral("New")});
    }

    void leftoversGoAndNothingThatOnlyLooksLikeThem()
    {
        const QStringList leftovers{QStringLiteral("Favorites.xml.tmpAbC123"),
                                    QStringLiteral("Favorites.xml.tmp000000"),
                                    QStringLiteral("Favorites.xml.bk.tmpQwErTy")};
        const QStringList lookAlikes{QStringLiteral("Favorites.xml.tmpAbC12"),
                                     QStringLiteral("Favorites.xml.tmpAbC1234"),
                                     QStringLiteral("Favorites.xml.tmp-bC123"),
                                     QStringLiteral("Favorites.xml.tmpAbC123.keep"),
                                     QStringLiteral("Other.xml.tmpAbC123"),
                                     QStringLiteral("Favorites.xml.bk")};
        for (const QString& name : leftovers + lookAlikes)
            QVERIFY(TestFiles::Write(folder().filePath(name), "<Favorites/>"));
        QVERIFY(TestFiles::Write(folder().filePath(QStringLiteral("target")), "kept"));
        QVERIFY(QFile::link(QStringLiteral("target"),
                            folder().filePath(QStringLiteral("Favorites.xml.tmpLinkXY"))));
        QVERIFY(QDir(folder().path()).mkdir(QStringLiteral("Favorites.xml.tmpFolder")));
        QStringList kept = entries();
        for (const QString& name : leftovers)
            kept.removeAll(name);

        store().RemoveLeftovers();
        QCOMPARE(entries(), kept);
        QCOMPARE(TestFiles::Read(folder().filePath(QStringLiteral("target"))), QByteArray("kept"));

        // A save clears its own leftovers as well.
        QVERIFY(TestFiles::Write(folder().filePath(leftovers.first()), "<Favorites/>"));
        QVERIFY(store().Update(CFavoritesStore::Add, QStringLiteral("Saved"),
                               QStringLiteral("http://saved/")));
        // Besides the first change's backup.
        kept.append(QStringLiteral("backups"));
        kept.sort();
        QCOMPARE(entries(), kept);
    }
};

KESTRIN_CORE_TEST_MAIN(FavoritesProcessesTest)
#include "tst_favoritesprocesses.moc"
