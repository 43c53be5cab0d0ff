// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "linkcheck/LinkCheckController.h"
#include "linkcheck/LinkResultStore.h"
#include "support/ScriptedHttpServer.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

namespace {
LinkResult makeResult(LinkResult::Status status, int http, const QString& error = {},
                      const QString& newUrl = {})
{
    LinkResult result;
    result.status = status;
    result.httpStatus = http;
    result.error = error;
    result.newUrl = newUrl;
    result.checked = QDateTime(QDate(2026, 12, 8), QTime(9, 30, 15), Qt::UTC);
    return result;
}
} // namespace

class LinkResultStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    void everyFieldSurvivesTheFile();
    void damagedFileIsIgnoredAndReplaced_data();
    void damagedFileIsIgnoredAndReplaced();
    void senselessEntriesAreDroppedAlone();
    void savingCreatesTheFolder();
    void resultsSurviveARestart();
    void completedRunForgetsRemovedSitesOthersDoNot();
    void oddFilesAreRefusedAndReplaced_data();
    void oddFilesAreRefusedAndReplaced();
    void aFailedSaveIsSaid();

private:
    QString path() const { return m_dir->filePath(QStringLiteral("data/linkcheck.json")); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void LinkResultStoreTest::everyFieldSurvivesTheFile()
{
    LinkResultStore::Results results;
    results.insert(QStringLiteral("https://alive.example/"),
                   makeResult(LinkResult::Status::Alive, 200));
    results.insert(QStringLiteral("https://moved.example/"),
                   makeResult(LinkResult::Status::Moved, 301, {},
                              QStringLiteral("https://chain.example/päper?x=1&y=\"2\"")));
    results.insert(QStringLiteral("https://dead.example/"),
                   makeResult(LinkResult::Status::Dead, 0, QStringLiteral("connection refused")));
    results.insert(QStringLiteral("https://unsure.example/"),
                   makeResult(LinkResult::Status::Unsure, 429));
    LinkResultStore::Results back;
    QVERIFY(LinkResultStore::Parse(LinkResultStore::Serialize(results), back));
    QCOMPARE(back, results);
}

void LinkResultStoreTest::damagedFileIsIgnoredAndReplaced_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("garbage") << QByteArray("\x00\xff not json at all", 18);
    QTest::newRow("cut off") << QByteArray(
        R"({"format": 1, "links": [{"url": "https://a.example/", "sta)");
    QTest::newRow("a list") << QByteArray("[1, 2, 3]");
    QTest::newRow("unknown format") << QByteArray(R"({"format": 7, "links": []})");
    QTest::newRow("links not a list") << QByteArray(R"({"format": 1, "links": {}})");
    QTest::newRow("empty") << QByteArray();
}

void LinkResultStoreTest::damagedFileIsIgnoredAndReplaced()
{
    QFETCH(QByteArray, bytes);
    QDir().mkpath(QFileInfo(path()).absolutePath());
    QVERIFY(TestFiles::Write(path(), bytes));
    LinkResultStore store(path());
    QVERIFY(!store.load());
    QVERIFY(store.results().isEmpty());

    store.set(QStringLiteral("https://paper.example/"), makeResult(LinkResult::Status::Dead, 404));
    store.save();
    store.waitForSaved();
    LinkResultStore reread(path());
    QVERIFY(reread.load());
    QCOMPARE(reread.results().size(), 1);
    QCOMPARE(reread.find(QStringLiteral("https://paper.example/"))->httpStatus, 404);
}

void LinkResultStoreTest::senselessEntriesAreDroppedAlone()
{
    const QByteArray bytes = R"json({"format": 1, "links": [
        {"url": "https://good.example/", "status": "dead", "http": 410, "checked": "2026-12-08T09:30:15Z"},
        {"url": "", "status": "dead", "checked": "2026-12-08T09:30:15Z"},
        {"url": "https://no-date.example/", "status": "alive"},
        {"url": "https://bad-status.example/", "status": "gone", "checked": "2026-12-08T09:30:15Z"},
        {"url": "https://moved-nowhere.example/", "status": "moved", "checked": "2026-12-08T09:30:15Z"},
        {"url": "https://to-script.example/", "status": "moved", "movedTo": "javascript:alert(1)", "checked": "2026-12-08T09:30:15Z"},
        {"url": "https://to-file.example/", "status": "moved", "movedTo": "file:///etc/passwd", "checked": "2026-12-08T09:30:15Z"},
        "not an object"
    ]})json";
    LinkResultStore::Results results;
    QVERIFY(LinkResultStore::Parse(bytes, results));
    QCOMPARE(results.keys(), QStringList{QStringLiteral("https://good.example/")});
    QCOMPARE(results.begin()->checked, QDateTime(QDate(2026, 12, 8), QTime(9, 30, 15), Qt::UTC));
}

void LinkResultStoreTest::savingCreatesTheFolder()
{
    LinkResultStore store(path());
    QVERIFY(!store.load());
    store.set(QStringLiteral("https://a.example/"), makeResult(LinkResult::Status::Alive, 200));
    store.save();
    store.waitForSaved();
    QVERIFY(QFileInfo::exists(path()));
    // Written through a temporary file that is renamed: nothing else is left beside it.
    QCOMPARE(QDir(QFileInfo(path()).absolutePath()).entryList(QDir::Files),
             QStringList{QStringLiteral("linkcheck.json")});
}

void LinkResultStoreTest::resultsSurviveARestart()
{
    ScriptedHttpServer server;
    QVERIFY(server.start());
    server.setHandler([](const ScriptedHttpServer::Request& request) {
        return ScriptedHttpServer::Status(request.path == "/gone" ? 410 : 200);
    });
    const QString alive = server.url(QStringLiteral("/"));
    const QString gone = server.url(QStringLiteral("/gone"));
    {
        LinkCheckController controller(path());
        QSignalSpy finished(&controller, &LinkCheckController::runFinished);
        QSignalSpy changed(&controller, &LinkCheckController::resultChanged);
        QVERIFY(controller.checkAll({alive, gone}));
        QVERIFY(finished.wait(30000));
        QCOMPARE(changed.count(), 2);
    }
    LinkCheckController restarted(path());
    QCOMPARE(restarted.store().results().size(), 2);
    QCOMPARE(restarted.store().find(gone)->status, LinkResult::Status::Dead);
    QCOMPARE(restarted.store().find(gone)->httpStatus, 410);
    QCOMPARE(restarted.store().find(alive)->status, LinkResult::Status::Alive);
}

void LinkResultStoreTest::completedRunForgetsRemovedSitesOthersDoNot()
{
    ScriptedHttpServer server;
    QVERIFY(server.start());
    const QString kept = server.url(QStringLiteral("/kept"));
    const QString removed = QStringLiteral("https://removed-favorite.example/");
    {
        LinkResultStore store(path());
        store.set(removed, makeResult(LinkResult::Status::Dead, 404));
        store.save();
    }
    LinkCheckController controller(path());
    QSignalSpy finished(&controller, &LinkCheckController::runFinished);

    // A single check leaves every other result alone.
    QCOMPARE(controller.checkOne(kept), LinkCheckController::Single::Started);
    QVERIFY(finished.wait(30000));
    QCOMPARE(finished.last().at(1).toBool(), false);
    QVERIFY(controller.store().find(removed));

    // A completed full check keeps only what it covered.
    QVERIFY(controller.checkAll({kept}));
    QVERIFY(finished.wait(30000));
    QVERIFY(!controller.store().find(removed));
    QVERIFY(controller.store().find(kept));
    controller.store().waitForSaved();
    LinkResultStore reread(path());
    QVERIFY(reread.load());
    QCOMPARE(reread.results().keys(), QStringList{kept});
}

void LinkResultStoreTest::oddFilesAreRefusedAndReplaced_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("pipe") << "pipe"
                          << "pipe";
    QTest::newRow("link to a pipe") << "link to pipe"
                                    << "pipe";
    QTest::newRow("link to /dev/zero") << "link to /dev/zero"
                                       << "device";
    QTest::newRow("17 MiB") << "large"
                            << "larger than";
    QTest::newRow("folder") << "folder"
                            << "folder";
}

void LinkResultStoreTest::oddFilesAreRefusedAndReplaced()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QDir().mkpath(QFileInfo(path()).absolutePath());
    const QString pipe = m_dir->filePath(QStringLiteral("pipe"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    if (kind == QLatin1String("pipe")) {
        QCOMPARE(::mkfifo(QFile::encodeName(path()).constData(), 0600), 0);
    } else if (kind == QLatin1String("link to pipe")) {
        QVERIFY(QFile::link(pipe, path()));
    } else if (kind == QLatin1String("link to /dev/zero")) {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path()));
    } else if (kind == QLatin1String("large")) {
        // Sparse: it takes no room on disk, yet says it holds 17 MiB.
        QFile large(path());
        QVERIFY(large.open(QIODevice::WriteOnly));
        QVERIFY(large.resize(17 * 1024 * 1024));
    } else {
        QVERIFY(QDir().mkpath(path()));
    }

    // Neither waits on the pipe nor reads the endless device: the check starts.
    LinkCheckController controller(path());
    QVERIFY(controller.store().results().isEmpty());
    QVERIFY2(controller.keepProblem().contains(path()) && controller.keepProblem().contains(reason),
             qPrintable(controller.keepProblem()));

    // The next save puts a file in its place, without writing through a link.
    QSignalSpy problemChanged(&controller, &LinkCheckController::keepProblemChanged);
    controller.store().set(QStringLiteral("https://paper.example/"),
                           makeResult(LinkResult::Status::Dead, 404));
    controller.store().save();
    QVERIFY(problemChanged.wait(10000));
    if (kind == QLatin1String("folder")) {
        // A folder cannot be renamed over: the findings are said to be lost.
        QVERIFY(controller.keepProblem().contains(QStringLiteral("could not be kept")));
        QVERIFY(QFileInfo(path()).isDir());
        return;
    }
    QVERIFY2(controller.keepProblem().isEmpty(), qPrintable(controller.keepProblem()));
    QVERIFY(QFileInfo(path()).isFile() && !QFileInfo(path()).isSymLink());
    QVERIFY(QFileInfo(pipe).exists() && !QFileInfo(pipe).isFile());
    LinkResultStore reread(path());
    QVERIFY(reread.load());
    QCOMPARE(reread.results().size(), 1);
}

void LinkResultStoreTest::aFailedSaveIsSaid()
{
    LinkCheckController controller(path());
    QVERIFY(controller.keepProblem().isEmpty());
    controller.store().set(QStringLiteral("https://first.example/"),
                           makeResult(LinkResult::Status::Alive, 200));
    controller.store().save();
    controller.store().waitForSaved();
    const QByteArray before = TestFiles::Read(path());
    for (int i = 0; i < 200; ++i)
        controller.store().set(QStringLiteral("https://paper%1.example/").arg(i),
                               makeResult(LinkResult::Status::Dead, 404));

    // A disk that is full, as a limit on the size of the files this process writes: the
    // write fails the same way.
    rlimit previous = {};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit full = previous;
    full.rlim_cur = 4096;
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &full), 0);
    QSignalSpy problemChanged(&controller, &LinkCheckController::keepProblemChanged);
    controller.store().save();
    const bool told = problemChanged.wait(10000);
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousSignal);
    QVERIFY(told);
    QVERIFY2(controller.keepProblem().contains(QStringLiteral("could not be kept")) &&
                 controller.keepProblem().contains(path()),
             qPrintable(controller.keepProblem()));
    // The last findings kept are still there, whole, and nothing is left beside them.
    QCOMPARE(TestFiles::Read(path()), before);
    QCOMPARE(QDir(QFileInfo(path()).absolutePath()).entryList(QDir::Files),
             QStringList{QStringLiteral("linkcheck.json")});

    // With room again, the next save keeps them and the line goes.
    controller.store().save();
    QVERIFY(problemChanged.wait(10000));
    QVERIFY(controller.keepProblem().isEmpty());
    LinkResultStore reread(path());
    QVERIFY(reread.load());
    QCOMPARE(reread.results().size(), 201);
}

KESTRIN_TEST_MAIN(LinkResultStoreTest)
#include "tst_linkresultstore.moc"
