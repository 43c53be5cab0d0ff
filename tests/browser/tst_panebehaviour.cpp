// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "browser/CKestrinNewsReaderView.h"
#include "browser/FindBar.h"
#include "browser/LinkBubble.h"
#include "browser/LoadingLine.h"
#include "catalog/CLeftView.h"
#include "frame/CMainFrame.h"
#include "platform/BrowserPopupWindow.h"
#include "platform/ExternalBrowser.h"
#include "res/Resource.h"
#include "support/AppFixture.h"
#include "support/BrowserSteps.h"
#include "support/MessageCapture.h"
#include "support/ScriptedHttpServer.h"
#include "support/TestMain.h"

#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QWebEnginePage>

namespace {
const QString kSuffix = QStringLiteral(" - Kestrin News Reader");
constexpr int kLoadTimeout = 20000;

QByteArray page(const QByteArray& title, const QByteArray& body)
{
    return "<html><head><meta charset=\"utf-8\"><title>" + title + "</title></head><body>" + body +
           "</body></html>";
}

ScriptedHttpServer::Response html(const QByteArray& body)
{
    ScriptedHttpServer::Response response;
    response.headers.append(
        qMakePair(QByteArray("Content-Type"), QByteArray("text/html; charset=utf-8")));
    response.body = body;
    return response;
}

// The widget the engine draws the page in.
QWidget* pageSurface(CKestrinNewsReaderView* browser)
{
    QWidget* view = browser->focusProxy();
    return view ? view->focusProxy() : nullptr;
}

int popupCount()
{
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        count += qobject_cast<BrowserPopupWindow*>(widget) && widget->isVisible() ? 1 : 0;
    return count;
}
} // namespace

// The browser pane as browsers behave: no engine error pages, loading shown and stopped,
// the keys for Back, Forward and Home, finding in the page, link addresses, new windows and
// mail links. Every page comes from a server on 127.0.0.1 or from the program itself.
class PaneBehaviourTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void engineErrorPageNeverShowsWhileTheNextSiteLoads();
    void escStopsALoadAndTheStatusSaysReadyAgain();
    void altKeysGoBackForwardAndHomeFromThePageAndTheTree();
    void findBarCountsAndSteps();
    void hoveredLinkShowsItsAddressWithoutTheStatusBar();
    void newTabLinksStayInThePaneAndMailLinksGoToTheDesktop();
    void copyPageAddressAndTheStatusTip();

private:
    void start();
    [[nodiscard]] CKestrinNewsReaderView* browser() const { return m_fixture->browser(); }
    [[nodiscard]] CMainFrame* frame() const { return m_fixture->frame(); }
    // Opens the address and waits for its title in the caption.
    bool open(const QString& path, const QString& title);

    std::unique_ptr<ScriptedHttpServer> m_server;
    std::unique_ptr<AppFixture> m_fixture;
};

void PaneBehaviourTest::initTestCase()
{
    // Names under .invalid are unknown at once; nothing is looked up.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") +
                                              " --host-resolver-rules=\"MAP *.invalid ~NOTFOUND\"");
}

void PaneBehaviourTest::init()
{
    m_server = std::make_unique<ScriptedHttpServer>();
    QVERIFY(m_server->start());
    m_server->setHandler([](const ScriptedHttpServer::Request& request) {
        const QByteArray path = request.path;
        if (path == "/500" || path == "/404") {
            ScriptedHttpServer::Response response; // no page of the site's own
            response.status = path.mid(1).toInt();
            return response;
        }
        if (path.startsWith("/slow")) {
            ScriptedHttpServer::Response response;
            response.never = true;
            return response;
        }
        if (path == "/apples")
            return html(page("Apples", QByteArray("<p>apple </p>").repeated(12)));
        if (path == "/links")
            return html(page("Links", "<a id=\"tab\" target=\"_blank\" href=\"/second\""
                                      " style=\"display:block;height:300px\">Second</a>"
                                      "<a id=\"mail\" href=\"mailto:desk@news.example\">Mail</a>"));
        // Any other page is titled with its name: "/front?x=1" is FRONT.
        return html(page(path.mid(1).split('?').first().toUpper(), "<p>" + path + "</p>"));
    });
}

void PaneBehaviourTest::cleanup()
{
    ExternalBrowser::SetLauncher({});
    m_fixture.reset();
    m_server.reset();
}

void PaneBehaviourTest::start()
{
    m_fixture = std::make_unique<AppFixture>();
    m_fixture->setInt("IndexPage", 1);
    QVERIFY(m_fixture->start());
    browser()->EnsureEngine();
}

bool PaneBehaviourTest::open(const QString& path, const QString& title)
{
    browser()->NavigateTo(m_server->url(path));
    return QTest::qWaitFor([&] { return frame()->windowTitle() == title + kSuffix; }, kLoadTimeout);
}

void PaneBehaviourTest::engineErrorPageNeverShowsWhileTheNextSiteLoads()
{
    start();
    const QStringList failures{
        m_server->url(QStringLiteral("/500")), m_server->url(QStringLiteral("/404")),
        QStringLiteral("http://no-such-host.invalid/"),
        QStringLiteral("http://127.0.0.1:%1/").arg(ScriptedHttpServer::UnusedPort())};
    int slow = 0;
    for (const QString& failure : failures) {
        browser()->NavigateTo(failure);
        QTRY_VERIFY2_WITH_TIMEOUT(browser()->isShowingNotice(), qPrintable(failure), kLoadTimeout);
        // Behind our page the engine holds its own page for the failure.
        QVERIFY(!BrowserSteps::PlainText(browser()->page()).isEmpty());

        // A site that takes its time: until it has come, our page stays, also once the
        // load is given up.
        browser()->NavigateTo(m_server->url(QStringLiteral("/slow%1").arg(++slow)));
        QTRY_VERIFY_WITH_TIMEOUT(browser()->isLoading(), kLoadTimeout);
        QVERIFY(browser()->loadingLine()->isVisible());
        QVERIFY2(browser()->isShowingNotice(), qPrintable(failure));
        browser()->Stop();
        QTRY_VERIFY_WITH_TIMEOUT(!browser()->isLoading(), kLoadTimeout);
        QVERIFY2(browser()->isShowingNotice(), qPrintable(failure));
    }
    // The next page that comes takes its place.
    QVERIFY(open(QStringLiteral("/front"), QStringLiteral("FRONT")));
    QVERIFY(!browser()->isShowingNotice());
}

void PaneBehaviourTest::escStopsALoadAndTheStatusSaysReadyAgain()
{
    start();
    frame()->SendCommand(ID_VIEW_STATUS_BAR);
    StatusBar& status = frame()->statusBarPane();
    browser()->NavigateTo(m_server->url(QStringLiteral("/slow")));
    QTRY_VERIFY_WITH_TIMEOUT(browser()->isLoading(), kLoadTimeout);
    QVERIFY(browser()->loadingLine()->isVisible());
    QVERIFY2(QRegularExpression(QStringLiteral("^Loading 127\\.0\\.0\\.1\u2026 \\d+%$"))
                 .match(status.message())
                 .hasMatch(),
             qPrintable(status.message()));

    QVERIFY(BrowserSteps::FocusIn(*m_fixture, browser()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTRY_VERIFY_WITH_TIMEOUT(!browser()->isLoading(), kLoadTimeout);
    QVERIFY(!browser()->loadingLine()->isVisible());
    QCOMPARE(status.message(), QStringLiteral("Ready"));
    QVERIFY(open(QStringLiteral("/front"), QStringLiteral("FRONT")));
    QTRY_COMPARE(status.message(), QStringLiteral("Ready"));
    QVERIFY(!browser()->loadingLine()->isVisible());
}

void PaneBehaviourTest::altKeysGoBackForwardAndHomeFromThePageAndTheTree()
{
    start();
    QVERIFY(open(QStringLiteral("/first"), QStringLiteral("FIRST")));
    QVERIFY(open(QStringLiteral("/second"), QStringLiteral("SECOND")));
    const auto press = [this](QWidget* where, Qt::Key key, const QString& title) {
        if (!BrowserSteps::FocusIn(*m_fixture, where))
            return false;
        QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
        return QTest::qWaitFor([&] { return frame()->windowTitle() == title + kSuffix; },
                               kLoadTimeout);
    };
    QVERIFY(press(browser(), Qt::Key_Left, QStringLiteral("FIRST")));
    QVERIFY(press(m_fixture->tree(), Qt::Key_Right, QStringLiteral("SECOND")));
    QVERIFY(press(m_fixture->tree(), Qt::Key_Left, QStringLiteral("FIRST")));
    QVERIFY(press(browser(), Qt::Key_Right, QStringLiteral("SECOND")));
    QVERIFY(press(m_fixture->tree(), Qt::Key_Home, QStringLiteral("Start page")));
    QVERIFY(press(browser(), Qt::Key_Left, QStringLiteral("SECOND")));
    QVERIFY(press(browser(), Qt::Key_Home, QStringLiteral("Start page")));

    // The menus say what they always said.
    QStringList texts;
    for (const QAction* action : frame()->menuBar()->actions().at(1)->menu()->actions())
        texts.append(action->text());
    QCOMPARE(texts,
             (QStringList{"&Home\tCtrl+H", QString(), "&Back\tCtrl+B", "&Forword\tCtrl+F",
                          "&Open in Your Browser", "F&ind in Page…\tF3", "&Copy Page Address"}));
}

void PaneBehaviourTest::findBarCountsAndSteps()
{
    start();
    QVERIFY(open(QStringLiteral("/apples"), QStringLiteral("Apples")));
    FindBar* bar = browser()->findBar();
    QVERIFY(BrowserSteps::FocusIn(*m_fixture, browser()));
    QVERIFY(!bar->isVisible());
    // F3 from the tree opens the bar, with the focus in it.
    QVERIFY(BrowserSteps::FocusIn(*m_fixture, m_fixture->tree()));
    QTest::keyClick(m_fixture->tree(), Qt::Key_F3);
    QVERIFY(bar->isVisible());
    QTRY_VERIFY(bar->field()->hasFocus());
    // Below the page, across the pane.
    QVERIFY(bar->geometry().top() >= browser()->pageArea()->geometry().bottom());

    QTest::keyClicks(bar->field(), QStringLiteral("apple"));
    QTRY_COMPARE_WITH_TIMEOUT(bar->resultText(), QStringLiteral("1 of 12"), kLoadTimeout);
    QTest::keyClick(bar->field(), Qt::Key_Return);
    QTRY_COMPARE_WITH_TIMEOUT(bar->resultText(), QStringLiteral("2 of 12"), kLoadTimeout);
    QTest::keyClick(bar->field(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(bar->field(), Qt::Key_Return, Qt::ShiftModifier);
    QTRY_COMPARE_WITH_TIMEOUT(bar->resultText(), QStringLiteral("12 of 12"), kLoadTimeout);
    // F3 in the bar finds the next one.
    QTest::keyClick(bar->field(), Qt::Key_F3);
    QTRY_COMPARE_WITH_TIMEOUT(bar->resultText(), QStringLiteral("1 of 12"), kLoadTimeout);
    QTest::keyClicks(bar->field(), QStringLiteral("z"));
    QTRY_COMPARE_WITH_TIMEOUT(bar->resultText(), QStringLiteral("No matches"), kLoadTimeout);

    QTest::keyClick(bar->field(), Qt::Key_Escape);
    QVERIFY(!bar->isVisible());
    QTRY_VERIFY(browser()->isAncestorOf(QApplication::focusWidget()));
    // From the menu, the bar comes back with the last words selected.
    frame()->SendCommand(ID_BROWSE_FIND);
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->field()->selectedText(), QStringLiteral("applez"));
}

void PaneBehaviourTest::hoveredLinkShowsItsAddressWithoutTheStatusBar()
{
    start();
    QVERIFY(!frame()->statusBarPane().isVisible());
    QVERIFY(open(QStringLiteral("/links"), QStringLiteral("Links")));
    LinkBubble* bubble = browser()->linkBubble();
    QWidget* surface = pageSurface(browser());
    QVERIFY(surface);
    // The first link covers the top of the page; below the two links there is none.
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            QTest::mouseMove(surface, QPoint(40, 100));
            return bubble->isVisible();
        }(),
        kLoadTimeout);
    QCOMPARE(bubble->address(), m_server->url(QStringLiteral("/second")));
    QVERIFY(bubble->text().contains(QStringLiteral("/second")));
    const QRect area = browser()->pageArea()->rect();
    QCOMPARE(bubble->geometry().bottomLeft(), area.bottomLeft());
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            QTest::mouseMove(surface, QPoint(40, area.height() - 20));
            return !bubble->isVisible();
        }(),
        kLoadTimeout);
}

void PaneBehaviourTest::newTabLinksStayInThePaneAndMailLinksGoToTheDesktop()
{
    QList<QUrl> handedOver;
    ExternalBrowser::SetLauncher([&handedOver](const QUrl& url) {
        handedOver.append(url);
        return false;
    });
    MessageCapture messages;
    start();
    QVERIFY(open(QStringLiteral("/links"), QStringLiteral("Links")));

    // A link for a new tab opens here; Back returns.
    QVERIFY(BrowserSteps::RunScript(browser()->page(),
                                    QStringLiteral("document.getElementById('tab').click(); true"))
                .toBool());
    QTRY_COMPARE_WITH_TIMEOUT(frame()->windowTitle(), QStringLiteral("SECOND") + kSuffix,
                              kLoadTimeout);
    QCOMPARE(popupCount(), 0);
    frame()->SendCommand(ID_BROWSE_BACK);
    QTRY_COMPARE_WITH_TIMEOUT(frame()->windowTitle(), QStringLiteral("Links") + kSuffix,
                              kLoadTimeout);

    // A mail link goes to the desktop's program for it; without one, the user is told.
    // Clicked as a user does: a page's script alone is not let send anyone to a program.
    // The title may come back before the page can answer a script.
    QVariantList box;
    QTRY_COMPARE_WITH_TIMEOUT(
        (box = BrowserSteps::RunScript(
                   browser()->page(),
                   QStringLiteral("(function() { const m = document.getElementById('mail');"
                                  " if (!m) return null; const r = m.getBoundingClientRect();"
                                  " return [r.x + r.width / 2, r.y + r.height / 2]; })()"))
                   .toList())
            .size(),
        2, kLoadTimeout);
    QTest::mouseClick(pageSurface(browser()), Qt::LeftButton, {},
                      QPoint(box[0].toInt(), box[1].toInt()));
    QTRY_COMPARE_WITH_TIMEOUT(handedOver.size(), 1, kLoadTimeout);
    QCOMPARE(handedOver.first(), QUrl(QStringLiteral("mailto:desk@news.example")));
    QCOMPARE(messages.texts().size(), 1);
    QVERIFY(messages.texts().first().startsWith(QStringLiteral("No e-mail program")));
    QCOMPARE(browser()->url(), QUrl(m_server->url(QStringLiteral("/links"))));
}

void PaneBehaviourTest::copyPageAddressAndTheStatusTip()
{
    MessageCapture messages;
    start();
    StatusBar& status = frame()->statusBarPane();
    // The empty pane has no address.
    frame()->SendCommand(ID_BROWSE_COPY_ADDRESS);
    QCOMPARE(messages.texts(), QStringList{"The page on show has no web address to copy."});

    const QString address = m_server->url(QStringLiteral("/story?id=7"));
    browser()->NavigateTo(address);
    QTRY_COMPARE_WITH_TIMEOUT(frame()->windowTitle(), QStringLiteral("STORY") + kSuffix,
                              kLoadTimeout);
    frame()->SendCommand(ID_BROWSE_COPY_ADDRESS);
    QCOMPARE(QApplication::clipboard()->text(), address);
    QCOMPARE(status.messageToolTip(), address);
    // A site that failed: its address, as on our page.
    const QString failed = QStringLiteral("http://no-such-host.invalid/front");
    browser()->NavigateTo(failed);
    QTRY_VERIFY_WITH_TIMEOUT(browser()->isShowingNotice(), kLoadTimeout);
    frame()->SendCommand(ID_BROWSE_COPY_ADDRESS);
    QCOMPARE(QApplication::clipboard()->text(), failed);
    QCOMPARE(status.messageToolTip(), failed);
    QCOMPARE(messages.texts().size(), 1);
}

KESTRIN_TEST_MAIN(PaneBehaviourTest)
#include "tst_panebehaviour.moc"
