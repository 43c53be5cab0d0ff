// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "app/SettingsKeys.h"
#include "catalog/CLeftView.h"
#include "catalog/UnreadCountMark.h"
#include "favorites/CFavoritesStore.h"
#include "headlines/HeadlineCommands.h"
#include "headlines/HeadlineList.h"
#include "headlines/HeadlineModel.h"
#include "headlines/HeadlinePane.h"
#include "support/ScriptedHttpServer.h"
#include "support/TestMain.h"
#include "support/TreeFixture.h"

#include <QNetworkProxy>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSplitter>
#include <QVBoxLayout>

namespace {
using Request = ScriptedHttpServer::Request;
using Response = ScriptedHttpServer::Response;
const QString kHerald = QStringLiteral("http://herald.example/");
const QString kCourier = QStringLiteral("http://courier.example/");
const QString kNoFeed = QStringLiteral("http://nofeed.example/");

// Stories an hour apart, the first the newest; the two papers' hours interleave.
Response rss(const QByteArray& paper, int items, int firstHour)
{
    Response response;
    response.headers.append({QByteArray("Content-Type"), QByteArray("application/rss+xml")});
    response.body = "<rss version=\"2.0\"><channel><title>" + paper + "</title>";
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (int i = 0; i < items; ++i) {
        const QByteArray n = QByteArray::number(i);
        const QDateTime when = now.addSecs(-3600 * (firstHour + 2 * i));
        response.body += "<item><title>" + paper + " story " + n + "</title><link>http://" + paper +
                         ".example/" + n + "</link><description>Summary " + n +
                         "</description><pubDate>" + when.toString(Qt::RFC2822Date).toLatin1() +
                         "</pubDate></item>";
    }
    response.body += "</channel></rss>";
    return response;
}

} // namespace

// The headline list, its counts in the tree and its refreshes, against sites on this
// computer reached through a local proxy.
class HeadlineCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void listAfterRefreshOfTwoFavorites();
    void enterOpensAndMarksReadSpaceTurnsItBack();
    void paperWithoutFeedSaysSo();
    void offlineKeepsTheList();
    void favoriteAddedGetsItsItemsDeletedOneLeaves();
    void folderSumsFollowMovesAndDeletes();
    void f9ShowsFocusesHidesAndIsRemembered();

private:
    void make();
    void start(const TestFiles::Records& favorites);
    // Does what starts a refresh, and waits for its end and the list read after it.
    bool refreshed(const std::function<void()>& action);
    [[nodiscard]] HeadlineModel* model() const { return m_headlines->pane()->model(); }
    [[nodiscard]] QStringList titles() const;
    [[nodiscard]] int countOf(QTreeWidgetItem* item) const
    {
        return item ? item->data(0, UnreadCountMark::kRole).toInt() : -1;
    }
    [[nodiscard]] QTreeWidgetItem* favorite(const QString& name, const QString& url) const
    {
        return m_fixture->tree()->FavoriteItem({name, url});
    }

    std::unique_ptr<TreeFixture> m_fixture;
    std::unique_ptr<TestProfile> m_profileFile;
    std::unique_ptr<Profile> m_profile;
    std::unique_ptr<ScriptedHttpServer> m_server;
    std::unique_ptr<QWidget> m_window;
    QSplitter* m_split = nullptr;
    QPlainTextEdit* m_page = nullptr;
    std::unique_ptr<HeadlineCommands> m_headlines;
    QStringList m_opened;
    QStringList m_status;
    int m_finished = 0;
};

void HeadlineCommandsTest::init()
{
    m_fixture = std::make_unique<TreeFixture>();
    m_profileFile = std::make_unique<TestProfile>();
    m_profile = m_profileFile->open();
    m_server = std::make_unique<ScriptedHttpServer>();
    QVERIFY(m_server->start());
    m_server->setHandler([](const Request& request) {
        const QByteArray site = request.host + request.path;
        if (site == "herald.example/" || site == "courier.example/")
            return ScriptedHttpServer::Page(
                "<link rel=alternate type=application/rss+xml href=/feed.xml>");
        if (site == "herald.example/feed.xml")
            return rss("herald", 3, 1);
        if (site == "courier.example/feed.xml")
            return rss("courier", 2, 2);
        if (site == "nofeed.example/")
            return ScriptedHttpServer::Page("");
        return ScriptedHttpServer::Status(404);
    });
    m_opened.clear();
    m_status.clear();
    m_finished = 0;
}

void HeadlineCommandsTest::cleanup()
{
    m_headlines.reset();
    m_window.reset();
    m_fixture.reset();
    m_server.reset();
}

void HeadlineCommandsTest::make()
{
    m_headlines.reset();
    m_window = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(m_window.get());
    m_split = new QSplitter(Qt::Vertical, m_window.get());
    m_page = new QPlainTextEdit(m_split);
    m_split->addWidget(m_page);
    layout->addWidget(m_split);
    m_window->resize(800, 600);
    HeadlineCommands::Hooks hooks;
    hooks.open = [this](const QString& url) { m_opened.append(url); };
    hooks.status = [this](const QString& text) { m_status.append(text); };
    hooks.focusPage = [this] { m_page->setFocus(); };
    m_headlines = std::make_unique<HeadlineCommands>(
        *m_profile, m_fixture->tree(), m_fixture->store(), m_split,
        m_fixture->folder().filePath(QStringLiteral("headlines.sqlite")), hooks);
    m_headlines->refresher().setProxy(
        QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), m_server->port()));
    connect(&m_headlines->refresher(), &FeedRefresher::finished, this, [this] { ++m_finished; });
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void HeadlineCommandsTest::start(const TestFiles::Records& favorites)
{
    QVERIFY(m_fixture->writeFavorites(TestFiles::FavoritesXml(favorites)));
    m_fixture->tree()->OnInitialUpdate();
    make();
    QVERIFY(refreshed([this] { m_headlines->Start(); }));
}

bool HeadlineCommandsTest::refreshed(const std::function<void()>& action)
{
    const int before = m_finished;
    bool loaded = false;
    const QMetaObject::Connection connection =
        connect(m_headlines.get(), &HeadlineCommands::loaded, this,
                [&] { loaded = loaded || m_finished > before; });
    action();
    const bool done = QTest::qWaitFor([&] { return loaded; }, 30000);
    disconnect(connection);
    return done;
}

QStringList HeadlineCommandsTest::titles() const
{
    QStringList result;
    for (int row = 0; row < model()->rowCount(); ++row)
        result.append(model()->index(row, HeadlineModel::Headline).data().toString());
    return result;
}

void HeadlineCommandsTest::listAfterRefreshOfTwoFavorites()
{
    start({{QStringLiteral("Herald"), kHerald}, {QStringLiteral("Courier"), kCourier}});
    // Newest first across both papers, each under its favorite's name.
    QCOMPARE(titles(), (QStringList{"herald story 0", "courier story 0", "herald story 1",
                                    "courier story 1", "herald story 2"}));
    QCOMPARE(model()->index(1, HeadlineModel::Paper).data().toString(), QStringLiteral("Courier"));
    QVERIFY(model()->index(0, HeadlineModel::Headline).data(Qt::FontRole).value<QFont>().bold());
    QCOMPARE(model()->index(0, HeadlineModel::Headline).data(Qt::ToolTipRole).toString(),
             QStringLiteral("Summary 0"));
    QCOMPARE(countOf(favorite(QStringLiteral("Herald"), kHerald)), 3);
    QCOMPARE(countOf(favorite(QStringLiteral("Courier"), kCourier)), 2);
    QCOMPARE(countOf(m_fixture->tree()->FavoritesNode()), 5);
    QVERIFY(m_status.contains(QStringLiteral("Refreshing headlines: 0 of 2 papers")));
    QCOMPARE(m_status.last(), QStringLiteral("5 new headlines."));
}

void HeadlineCommandsTest::enterOpensAndMarksReadSpaceTurnsItBack()
{
    start({{QStringLiteral("Herald"), kHerald}, {QStringLiteral("Courier"), kCourier}});
    m_headlines->OnToggle();
    HeadlineList* list = m_headlines->pane()->list();
    QTRY_VERIFY(list->hasFocus());
    // The newest is current when the list takes the focus.
    QCOMPARE(list->currentIndex().row(), 0);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(m_opened, QStringList{QStringLiteral("http://courier.example/0")});
    QVERIFY(!model()->index(1, 0).data(Qt::FontRole).value<QFont>().bold());
    QTRY_COMPARE(countOf(favorite(QStringLiteral("Courier"), kCourier)), 1);
    QCOMPARE(countOf(m_fixture->tree()->FavoritesNode()), 4);
    // Opening it again marks nothing; Space makes it unread again.
    QTest::keyClick(list, Qt::Key_Enter);
    QCOMPARE(m_opened.size(), 2);
    QTest::keyClick(list, Qt::Key_Space);
    QVERIFY(model()->index(1, 0).data(Qt::FontRole).value<QFont>().bold());
    QTRY_COMPARE(countOf(favorite(QStringLiteral("Courier"), kCourier)), 2);
    // Mark All Headlines Read empties every count, in the tree and after a restart.
    m_headlines->OnMarkAllRead();
    QTRY_COMPARE(countOf(m_fixture->tree()->FavoritesNode()), 0);
    make();
    QVERIFY(refreshed([this] { m_headlines->Start(); }));
    QCOMPARE(model()->rowCount(), 5);
    QVERIFY(!model()->index(0, 0).data(Qt::FontRole).value<QFont>().bold());
}

void HeadlineCommandsTest::paperWithoutFeedSaysSo()
{
    start({{QStringLiteral("Herald"), kHerald}, {QStringLiteral("Nofeed"), kNoFeed}});
    // Looked for in the refresh already: said at once on selection.
    m_headlines->OnToggle();
    m_fixture->tree()->setCurrentItem(favorite(QStringLiteral("Nofeed"), kNoFeed));
    QCOMPARE(m_headlines->pane()->note(),
             QStringLiteral("Nofeed publishes no feed we can read: the site names no feed, and "
                            "none was found at the usual addresses"));
    QTRY_COMPARE(model()->rowCount(), 0);
    // One paper: its own items only, and the note goes.
    m_fixture->tree()->setCurrentItem(favorite(QStringLiteral("Herald"), kHerald));
    QVERIFY(m_headlines->pane()->note().isEmpty());
    QTRY_COMPARE(model()->rowCount(), 3);
}

void HeadlineCommandsTest::offlineKeepsTheList()
{
    start({{QStringLiteral("Herald"), kHerald}});
    QCOMPARE(model()->rowCount(), 3);
    m_headlines->refresher().setProxy(QNetworkProxy(
        QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), ScriptedHttpServer::UnusedPort()));
    QVERIFY(refreshed([this] { m_headlines->OnRefresh(); }));
    QCOMPARE(m_status.last(), QStringLiteral("You seem to be offline: no paper's site could be "
                                             "reached. The headlines are as they were."));
    QCOMPARE(model()->rowCount(), 3);
    QCOMPARE(countOf(m_fixture->tree()->FavoritesNode()), 3);
}

void HeadlineCommandsTest::favoriteAddedGetsItsItemsDeletedOneLeaves()
{
    start({{QStringLiteral("Herald"), kHerald}});
    QCOMPARE(model()->rowCount(), 3);
    QVERIFY(refreshed([this] {
        QCOMPARE(m_fixture->store().Update(1, QStringLiteral("Courier"), kCourier).code,
                 FavoritesResult::Code::Done);
    }));
    QCOMPARE(model()->rowCount(), 5);
    QTRY_COMPARE(countOf(favorite(QStringLiteral("Courier"), kCourier)), 2);
    QCOMPARE(countOf(m_fixture->tree()->FavoritesNode()), 5);
    QSignalSpy loaded(m_headlines.get(), &HeadlineCommands::loaded);
    QCOMPARE(m_fixture->store().Update(3, QStringLiteral("Herald"), kHerald).code,
             FavoritesResult::Code::Done);
    QVERIFY(loaded.wait(10000));
    QCOMPARE(titles(), (QStringList{"courier story 0", "courier story 1"}));
    QCOMPARE(countOf(m_fixture->tree()->FavoritesNode()), 2);
}

void HeadlineCommandsTest::folderSumsFollowMovesAndDeletes()
{
    QVERIFY(m_fixture->writeFavorites(
        "<Favorites><Folder><title>North</title><Folder><title>Inner</title>"
        "<Favorite><title>Herald</title><url>" +
        kHerald.toUtf8() +
        "</url></Favorite>"
        "</Folder></Folder><Folder><title>South</title>"
        "<Favorite><title>Courier</title><url>" +
        kCourier.toUtf8() +
        "</url></Favorite>"
        "</Folder></Favorites>"));
    CLeftView* tree = m_fixture->tree();
    tree->OnInitialUpdate();
    make();
    QVERIFY(refreshed([this] { m_headlines->Start(); }));
    const auto folder = [tree](const char* path) {
        return tree->FolderItem(QString::fromUtf8(path).split(u'/'));
    };
    QCOMPARE(countOf(folder("North/Inner")), 3);
    QCOMPARE(countOf(folder("North")), 3);
    QCOMPARE(countOf(folder("South")), 2);
    QCOMPARE(countOf(tree->FavoritesNode()), 5);

    // Moved by a drop: the sums follow the paper, the folder left behind shows none.
    QVERIFY(tree->DropOn(favorite(QStringLiteral("Herald"), kHerald), folder("South")));
    QCOMPARE(countOf(folder("South")), 5);
    QCOMPARE(countOf(folder("North/Inner")), 0);
    QCOMPARE(countOf(folder("North")), 0);
    QCOMPARE(countOf(tree->FavoritesNode()), 5);
    QCOMPARE(countOf(favorite(QStringLiteral("Herald"), kHerald)), 3);

    // A folder deleted with its papers takes their counts from every folder above.
    QVERIFY(m_fixture->store().MoveRecords(
        {{0, {QStringLiteral("Courier"), kCourier, {QStringLiteral("South")}}}},
        {QStringLiteral("North")}));
    QCOMPARE(countOf(folder("North")), 2);
    QVERIFY(m_fixture->store().DeleteFolder({QStringLiteral("South")}));
    QCOMPARE(countOf(folder("North")), 2);
    QCOMPARE(countOf(tree->FavoritesNode()), 2);
    QVERIFY(m_fixture->store().DeleteFolder({QStringLiteral("North")}));
    QCOMPARE(countOf(tree->FavoritesNode()), 0);
}

void HeadlineCommandsTest::f9ShowsFocusesHidesAndIsRemembered()
{
    m_fixture->tree()->OnInitialUpdate();
    make();
    QVERIFY(!m_headlines->pane()->isVisible());
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_headlines->OnToggle();
    QVERIFY(m_headlines->pane()->isVisible());
    QTRY_VERIFY(m_headlines->pane()->list()->hasFocus());
    m_page->setFocus();
    QTRY_VERIFY(m_page->hasFocus());
    m_headlines->OnToggle();
    QVERIFY(m_headlines->pane()->isVisible());
    QTRY_VERIFY(m_headlines->pane()->list()->hasFocus());
    m_headlines->OnToggle();
    QVERIFY(!m_headlines->pane()->isVisible());
    QTRY_VERIFY(m_page->hasFocus());
    QCOMPARE(m_profile->GetInt(kSettingsSection, SettingsKeys::HeadlinesShown), 0);

    m_headlines->OnToggle();
    m_split->setSizes({150, 400});
    emit m_split->splitterMoved(150, 1);
    m_headlines.reset(); // a height still waiting to be stored is stored on the way out
    QCOMPARE(m_profile->GetInt(kSettingsSection, SettingsKeys::HeadlinesShown), 1);
    QCOMPARE(m_profile->GetInt(kSettingsSection, SettingsKeys::HeadlinesHeight), 150);
    make();
    QVERIFY(m_headlines->isShown());
    QVERIFY(m_headlines->pane()->isVisible());
    QTRY_COMPARE(m_headlines->pane()->height(), 150);
}

KESTRIN_TEST_MAIN(HeadlineCommandsTest)
#include "tst_headlinecommands.moc"
