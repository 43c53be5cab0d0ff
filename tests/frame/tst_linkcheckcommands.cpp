// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "browser/CKestrinNewsReaderView.h"
#include "catalog/CLeftView.h"
#include "catalog/CatalogContextMenu.h"
#include "catalog/CatalogData.h"
#include "favorites/CFavoritesStore.h"
#include "frame/CMainFrame.h"
#include "frame/LinkCheckCommands.h"
#include "platform/NoticePage.h"
#include "res/Resource.h"
#include "support/AppFixture.h"
#include "support/BrowserSteps.h"
#include "support/MessageCapture.h"
#include "support/ScriptedHttpServer.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QNetworkProxy>
#include <QTreeWidgetItemIterator>

#include <sys/stat.h>

namespace {
using Kind = HostScope::Kind;

QTreeWidgetItem* itemNamed(CLeftView* tree, const QString& name)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->text(0) == name)
            return *it;
    }
    return nullptr;
}
} // namespace

// The link check as the user runs it in the program. No name is ever looked up: the
// checks' resolver is replaced, and whatever is asked goes to servers on 127.0.0.1.
class LinkCheckCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void catalogMenuEndsWithTheLinkEntries();
    void offlineCheckSaysSoAndMarksOnlyLocalSites();
    void completedCheckShowsTheReport();
    void checkThisLinkMarksTheItem();
    void closingTheProgramCancelsCleanly();
    void failedSitePageSaysWhatTheCheckFound();
    void useNewAddressChangesExactlyThatFavorite();
    void resultsFileThatIsNoFileIsToldAndReplaced();

private:
    // Starts the program with these favorites and the checks pointed at a results file of
    // the test's own; every public name is "not found" unless the proxy is used.
    void startWith(const TestFiles::Records& favorites);
    LinkCheckCommands* links() const { return m_fixture->frame()->linkChecks(); }
    LinkChecker& checker() const { return links()->controller().checker(); }

    std::unique_ptr<QTemporaryDir> m_data;
    std::unique_ptr<ScriptedHttpServer> m_server;
    std::unique_ptr<AppFixture> m_fixture;
};

void LinkCheckCommandsTest::init()
{
    m_data = std::make_unique<QTemporaryDir>();
    m_server = std::make_unique<ScriptedHttpServer>();
    QVERIFY(m_server->start());
    m_server->setHandler([](const ScriptedHttpServer::Request& request) {
        if (request.path == "/silent") {
            ScriptedHttpServer::Response response;
            response.never = true;
            return response;
        }
        if (request.path == "/old")
            return ScriptedHttpServer::Redirect(301, "http://new-home.example/paper/");
        return ScriptedHttpServer::Status(request.path == "/gone" ? 404 : 200);
    });
}

void LinkCheckCommandsTest::cleanup()
{
    m_fixture.reset();
    m_server.reset();
    m_data.reset();
}

void LinkCheckCommandsTest::startWith(const TestFiles::Records& favorites)
{
    m_fixture = std::make_unique<AppFixture>();
    m_fixture->setInt("IndexPage", 1);
    QVERIFY(TestFiles::Write(QDir(m_fixture->workDir()).filePath(QStringLiteral("Favorites.xml")),
                             TestFiles::FavoritesXml(favorites)));
    QVERIFY(m_fixture->start());
    links()->useResultsFile(m_data->filePath(QStringLiteral("linkcheck.json")));
    checker().setClassifier([](const QString& host, QObject*, HostScope::Done done) {
        done(host == QLatin1String("127.0.0.1") ? Kind::Local : Kind::NotFound);
    });
}

void LinkCheckCommandsTest::catalogMenuEndsWithTheLinkEntries()
{
    startWith({});
    QMenu* catalog = nullptr;
    for (QAction* menu : m_fixture->frame()->menuBar()->actions()) {
        if (menu->text() == QLatin1String("&Catalog"))
            catalog = menu->menu();
    }
    QVERIFY(catalog);
    QStringList texts;
    QList<int> ids;
    for (const QAction* action : catalog->actions()) {
        texts.append(action->text());
        ids.append(action->data().toInt());
    }
    // The older entries keep their place; the link entries follow Area, in this order.
    QCOMPARE(texts.mid(0, 4),
             (QStringList{"&Content\tCtrl+C", "&Area\tCtrl+A", "Check &Links…", "Link &Report"}));
    QCOMPARE(ids.mid(2, 2), (QList<int>{ID_CATALOG_CHECK_LINKS, ID_CATALOG_LINK_REPORT}));
    QVERIFY(!catalog->actions().at(2)->statusTip().isEmpty());
    QVERIFY(!catalog->actions().at(3)->statusTip().isEmpty());
}

void LinkCheckCommandsTest::offlineCheckSaysSoAndMarksOnlyLocalSites()
{
    startWith({{QStringLiteral("Local Gone"), m_server->url(QStringLiteral("/gone"))},
               {QStringLiteral("Local Alive"), m_server->url(QStringLiteral("/"))}});
    m_fixture->frame()->SendCommand(ID_CATALOG_CHECK_LINKS);
    LinkCheckWindow* window = links()->progressWindow();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QVERIFY(!window->isModal());
    QTRY_VERIFY_WITH_TIMEOUT(!checker().isRunning(), 60000);

    QVERIFY(window->isVisible());
    QStringList texts;
    for (const QLabel* label : window->findChildren<QLabel*>())
        texts.append(label->text());
    QVERIFY2(texts.join(QLatin1Char(' ')).contains(QLatin1String("seems to be offline")),
             qPrintable(texts.join(QLatin1Char('|'))));
    QVERIFY(!links()->report() || !links()->report()->isVisible());
    // The result counts as the progress did, and the report as both.
    const int total = checker().progress().total;
    QLocale locale;
    locale.setNumberOptions(QLocale::DefaultNumberOptions);
    QCOMPARE(window->findChild<QLabel*>(QStringLiteral("counts"))->text(),
             QStringLiteral("2 of %1 checked: 1 dead, 0 moved, 0 unsure; %2 not checked")
                 .arg(locale.toString(total), locale.toString(total - 2)));
    m_fixture->frame()->SendCommand(ID_CATALOG_LINK_REPORT);
    QVERIFY(links()->report()->findChild<QLabel*>()->text().startsWith(
        QLatin1String("1 dead, 0 moved and 0 unsure")));

    CLeftView* tree = m_fixture->tree();
    QTreeWidgetItem* gone = itemNamed(tree, QStringLiteral("Local Gone"));
    QVERIFY(gone->data(0, Qt::ForegroundRole).isValid());
    QVERIFY(gone->toolTip(0).contains(QLatin1String("page not found (404)")));
    QVERIFY(itemNamed(tree, QStringLiteral("Local Alive"))
                ->toolTip(0)
                .startsWith(QLatin1String("Reachable")));
    // No public site got a verdict, and nothing went anywhere but the local server.
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if (!tree->urlOf(*it).startsWith(m_server->url(QString())))
            QVERIFY2((*it)->toolTip(0).isEmpty(), qPrintable((*it)->text(0)));
    }
    QCOMPARE(links()->controller().store().results().size(), 2);
}

void LinkCheckCommandsTest::completedCheckShowsTheReport()
{
    startWith({{QStringLiteral("Local Gone"), m_server->url(QStringLiteral("/gone"))}});
    // Every address is answered by a local proxy: plain-web sites live, secure ones cannot
    // be tunnelled and stay unsure.
    ScriptedHttpServer proxy;
    QVERIFY(proxy.start());
    proxy.setHandler([](const ScriptedHttpServer::Request& request) {
        return ScriptedHttpServer::Status(request.path == "/gone" ? 404 : 200);
    });
    checker().setProxy(
        QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), proxy.port()));
    checker().setClassifier(
        [](const QString&, QObject*, HostScope::Done done) { done(Kind::Public); });

    m_fixture->frame()->SendCommand(ID_CATALOG_CHECK_LINKS);
    QVERIFY(links()->progressWindow()->isVisible());
    // Asking again while it runs only brings the window back.
    m_fixture->frame()->SendCommand(ID_CATALOG_CHECK_LINKS);
    QTRY_VERIFY_WITH_TIMEOUT(!checker().isRunning(), 120000);

    QVERIFY(!links()->progressWindow()->isVisible());
    LinkReportDialog* report = links()->report();
    QVERIFY(report);
    QVERIFY(report->isVisible());
    QVERIFY(report->ListText().contains(QLatin1String("Local Gone\tDead")));
    const LinkChecker::Progress& progress = checker().progress();
    QCOMPARE(progress.done, progress.total);
    QCOMPARE(progress.notChecked, 0);
    QVERIFY(progress.alive > 0);
    QCOMPARE(progress.dead, 1);
    QCOMPARE(progress.alive + progress.unsure + progress.dead + progress.moved, progress.total);
    // Each site's address was asked once at most (plus a GET where HEAD failed).
    QVERIFY(proxy.requestCount("CONNECT") + proxy.requestCount("HEAD") >= progress.total - 1);
}

void LinkCheckCommandsTest::checkThisLinkMarksTheItem()
{
    startWith({{QStringLiteral("Local Gone"), m_server->url(QStringLiteral("/gone"))}});
    CLeftView* tree = m_fixture->tree();
    QTreeWidgetItem* gone = itemNamed(tree, QStringLiteral("Local Gone"));
    QVERIFY(gone->toolTip(0).isEmpty());
    CatalogContextMenu* menu = m_fixture->frame()->treeMenu();
    menu->popup(gone, QPoint(20, 20));
    QAction* check = nullptr;
    for (QAction* action : menu->menu()->actions()) {
        if (action->text() == QLatin1String("C&heck This Link"))
            check = action;
    }
    QVERIFY(check);
    QVERIFY(check->isEnabled());
    check->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(gone->toolTip(0).startsWith(QLatin1String("Not reachable")), 30000);
    QVERIFY(gone->data(0, Qt::ForegroundRole).isValid());
    QTRY_VERIFY(m_fixture->frame()->statusBarPane().message().startsWith(
        QLatin1String("Local Gone: Not reachable")));
    // Only that address was asked.
    QCOMPARE(links()->controller().store().results().keys(),
             QStringList{m_server->url(QStringLiteral("/gone"))});

    // Nodes have nothing to check.
    menu->popup(tree->topLevelItem(0), QPoint(20, 20));
    for (QAction* action : menu->menu()->actions()) {
        if (action->text() == QLatin1String("C&heck This Link"))
            QVERIFY(!action->isEnabled());
    }
    menu->menu()->close();
}

void LinkCheckCommandsTest::closingTheProgramCancelsCleanly()
{
    startWith({{QStringLiteral("Local Silent"), m_server->url(QStringLiteral("/silent"))},
               {QStringLiteral("Local Gone"), m_server->url(QStringLiteral("/gone"))}});
    m_fixture->frame()->SendCommand(ID_CATALOG_CHECK_LINKS);
    // The headlines' first refresh may be asking /silent for its feed as well: closing ends
    // both.
    QTRY_VERIFY_WITH_TIMEOUT(m_server->openRequests() >= 1, 30000);
    QTRY_VERIFY_WITH_TIMEOUT(
        links()->controller().store().find(m_server->url(QStringLiteral("/gone"))), 30000);
    QVERIFY(checker().isRunning());

    m_fixture.reset();
    QTRY_COMPARE_WITH_TIMEOUT(m_server->openConnections(), 0, 20000);
    // What was found before closing is on disk.
    LinkResultStore saved(m_data->filePath(QStringLiteral("linkcheck.json")));
    QVERIFY(saved.load());
    QVERIFY(saved.find(m_server->url(QStringLiteral("/gone"))));
    QVERIFY(!saved.find(m_server->url(QStringLiteral("/silent"))));
}

void LinkCheckCommandsTest::failedSitePageSaysWhatTheCheckFound()
{
    const quint16 closedPort = ScriptedHttpServer::UnusedPort();
    const QString refused = QStringLiteral("http://127.0.0.1:%1/").arg(closedPort);
    startWith({{QStringLiteral("Closed Clarion"), refused}});
    QVERIFY(links()->NoteFor(QUrl(refused)).isEmpty());
    links()->CheckThisLink(QStringLiteral("Closed Clarion"), refused);
    QTRY_VERIFY_WITH_TIMEOUT(links()->controller().store().find(refused), 30000);
    QVERIFY(links()->NoteFor(QUrl(refused)).contains(QLatin1String("connection refused")));
    // Found whether the engine shows the address with its final slash or without.
    QCOMPARE(links()->NoteFor(QUrl(refused.chopped(1))), links()->NoteFor(QUrl(refused)));

    CKestrinNewsReaderView* browser = m_fixture->browser();
    m_fixture->tree()->OpenItem(itemNamed(m_fixture->tree(), QStringLiteral("Closed Clarion")));
    const auto notice = [browser] {
        return browser->isShowingNotice()
                   ? BrowserSteps::RunScript(
                         browser->noticePage(),
                         QStringLiteral("document.body ? document.body.innerText : ''"))
                         .toString()
                   : QString();
    };
    QTRY_VERIFY_WITH_TIMEOUT(
        notice().contains(QLatin1String("The last link check found: Not reachable on")), 60000);
}

void LinkCheckCommandsTest::useNewAddressChangesExactlyThatFavorite()
{
    const QString oldUrl = m_server->url(QStringLiteral("/old"));
    const QString newUrl = QStringLiteral("http://new-home.example/paper/");
    const TestFiles::Records before{
        {QStringLiteral("First"), QStringLiteral("https://first.example/")},
        {QStringLiteral("Moving"), oldUrl},
        {QStringLiteral("Last"), QStringLiteral("https://last.example/")},
        {QStringLiteral("Moving"), QStringLiteral("https://keep.example/")}};
    startWith(before);
    CLeftView* tree = m_fixture->tree();
    links()->CheckThisLink(QStringLiteral("Moving"), oldUrl);
    QTRY_VERIFY_WITH_TIMEOUT(links()->controller().store().find(oldUrl), 30000);
    QCOMPARE(links()->controller().store().find(oldUrl)->newUrl, newUrl);

    m_fixture->frame()->SendCommand(ID_CATALOG_LINK_REPORT);
    LinkReportDialog* report = links()->report();
    QVERIFY(report && report->isVisible());
    QCOMPARE(report->list()->topLevelItemCount(), 1);
    report->list()->setCurrentItem(report->list()->topLevelItem(0));
    QLabel* summary = report->findChild<QLabel*>();
    QVERIFY(summary->text().startsWith(QLatin1String("0 dead, 1 moved and 0 unsure")));

    // Changed elsewhere in the meantime: nothing is touched, and the user is told.
    {
        MessageCapture messages;
        const QString path = m_fixture->favorites().GetFavoritesPath();
        const QByteArray original = TestFiles::Read(path);
        QVERIFY(TestFiles::Write(path, TestFiles::FavoritesXml({before[0]})));
        report->useNewAddress();
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY(messages.texts().first().contains(QLatin1String("no longer in My Favorites")));
        QCOMPARE(report->list()->topLevelItemCount(), 1);
        QVERIFY(TestFiles::Write(path, original));
    }

    MessageCapture messages;
    report->useNewAddress();
    QVERIFY(messages.texts().isEmpty());
    QList<FavoriteRecord> records;
    QVERIFY(m_fixture->favorites().ReadAll(records));
    QCOMPARE(records.size(), 4);
    const QList<QPair<QString, QString>> expected{
        before[0], {QStringLiteral("Moving"), newUrl}, before[2], before[3]};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(records[i].title, expected[i].first);
        QCOMPARE(records[i].url, expected[i].second);
    }
    QCOMPARE(report->list()->topLevelItemCount(), 0);
    QCOMPARE(summary->text(), QStringLiteral("Every checked site was reachable."));
    // The tree opens the favorite at its new address now.
    QStringList favoriteUrls;
    QTreeWidgetItem* favorites = tree->topLevelItem(0)->child(0);
    for (int i = 0; i < favorites->childCount(); ++i)
        favoriteUrls.append(tree->urlOf(favorites->child(i)));
    QVERIFY(favoriteUrls.contains(newUrl));
    QVERIFY(!favoriteUrls.contains(oldUrl));
}

void LinkCheckCommandsTest::resultsFileThatIsNoFileIsToldAndReplaced()
{
    const QString site = m_server->url(QStringLiteral("/"));
    startWith({{QStringLiteral("Local"), site}});
    const QString pipe = m_data->filePath(QStringLiteral("pipe.json"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);

    // The program goes on, and says which file it did not read.
    links()->useResultsFile(pipe);
    QTRY_VERIFY(m_fixture->frame()->statusBarPane().message().contains(pipe));
    m_fixture->frame()->SendCommand(ID_CATALOG_LINK_REPORT);
    auto* line = links()->report()->findChild<QLabel*>(QStringLiteral("keepProblem"));
    QVERIFY(line && line->isVisible());
    QVERIFY(line->text().contains(pipe));

    // The next findings take its place, and the line goes.
    links()->CheckThisLink(QStringLiteral("Local"), site);
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(pipe).isFile(), 30000);
    QTRY_VERIFY(!line->isVisible());
    QVERIFY(TestFiles::Read(pipe).contains(site.toUtf8()));

    // A results file cannot make a favorite point anywhere but at a web page.
    const QString favorites = QDir(m_fixture->workDir()).filePath(QStringLiteral("Favorites.xml"));
    const QByteArray before = TestFiles::Read(favorites);
    LinkTarget favorite;
    favorite.name = QStringLiteral("Local");
    favorite.url = site;
    favorite.favorite = true;
    for (const QString& address :
         {QStringLiteral("javascript:alert(1)"), QStringLiteral("file:///etc/passwd"),
          QStringLiteral("ftp://a.example/")}) {
        MessageCapture messages;
        QVERIFY(!links()->UseNewAddress(favorite, address));
    }
    QCOMPARE(TestFiles::Read(favorites), before);
}

KESTRIN_TEST_MAIN(LinkCheckCommandsTest)
#include "tst_linkcheckcommands.moc"
