// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "app/CKestrinNewsReaderDoc.h"
#include "browser/CKestrinNewsReaderView.h"
#include "catalog/CLeftView.h"
#include "frame/CMainFrame.h"
#include "platform/FileDialog.h"
#include "platform/PrintDialog.h"
#include "platform/SkinEngine.h"
#include "res/MenuTable.h"
#include "res/Resource.h"
#include "res/StringTable.h"
#include "support/AppFixture.h"
#include "support/TestMain.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QSignalSpy>
#include <QStatusTipEvent>

#include <algorithm>

namespace {
QString readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
} // namespace

class MainFrameTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_fixture.reset(); }
    void layoutKeepsTheTreePaneAt250Pixels();
    void statusBarStartsHiddenAndViewStatusShowsIt();
    void entriesWithoutAPromptLeaveTheMessagePaneEmpty();
    void menuEntriesAreEnabledAndCarryNoShortcuts();
    void choosingTheCurrentSkinDoesNothing();
    void missingSkinFileStillMovesTheChoice();
    void nightComesAfterTheThreeSkinsAndIsKept();
    void skinEngineKeepsTheSplitterBarWidth();
    void unskinnedMenusShowNoEmptyCheckBoxes();
    void menuKeyHintsRunNothing();
    void frameworkKeysReachTheFramework();
    void paneKeysMoveTheFocus();
    void printingFromTheTreePrintsABlankPage();
    void minimizeCommandMinimizes();

private:
    std::unique_ptr<AppFixture> m_fixture;
};

void MainFrameTest::init()
{
    m_fixture = std::make_unique<AppFixture>();
    m_fixture->setInt("IndexPage", 1);
    QVERIFY(m_fixture->start());
    m_fixture->frame()->resize(1000, 700);
    QVERIFY(QTest::qWaitForWindowExposed(m_fixture->frame()));
}

void MainFrameTest::layoutKeepsTheTreePaneAt250Pixels()
{
    CMainFrame* frame = m_fixture->frame();
    SplitterWnd& splitter = frame->splitter();
    QCOMPARE(splitter.count(), 2);
    // The left pane holds the tree under its filter box.
    QCOMPARE(splitter.widget(0), m_fixture->tree()->paneWidget());
    QVERIFY(splitter.widget(0)->isAncestorOf(m_fixture->tree()));
    // The right one holds the page under the headline list.
    QVERIFY(splitter.widget(1)->isAncestorOf(m_fixture->browser()));
    QTRY_COMPARE(splitter.sizes().first(), 250);
    frame->resize(1400, 800);
    QTRY_COMPARE(splitter.width(), frame->centralWidget()->width());
    QCOMPARE(splitter.sizes().first(), 250);
    QVERIFY(splitter.sizes().last() > 1000);
}

void MainFrameTest::statusBarStartsHiddenAndViewStatusShowsIt()
{
    CMainFrame* frame = m_fixture->frame();
    StatusBar& bar = frame->statusBarPane();
    QVERIFY(!bar.isVisible());
    m_fixture->updateMenus();
    QVERIFY(!frame->menuAction(ID_VIEW_STATUS_BAR)->isChecked());

    frame->SendCommand(ID_VIEW_STATUS_BAR);
    QVERIFY(bar.isVisible());
    QCOMPARE(bar.paneCount(), 4);
    // The panes are on show with the bar: the message and three indicator panes, each wide
    // enough for its key's name.
    const QList<QLabel*> panes = bar.findChildren<QLabel*>();
    QCOMPARE(panes.size(), 4);
    for (const QLabel* pane : panes)
        QVERIFY(pane->isVisible());
    QVERIFY(std::any_of(panes.begin(), panes.end(),
                        [](const QLabel* pane) { return pane->text() == QLatin1String("Ready"); }));
    for (const char* name : {"CAP", "NUM", "SCRL"}) {
        const auto* pane = bar.findChild<QLabel*>(QLatin1String(name));
        QVERIFY2(pane, name);
        QVERIFY(pane->width() >= pane->fontMetrics().horizontalAdvance(QLatin1String(name)));
    }
    QCOMPARE(bar.paneText(0), QStringLiteral("Ready"));
    QCOMPARE(bar.paneText(1), QStringLiteral("CAP"));
    QCOMPARE(bar.paneText(2), QStringLiteral("NUM"));
    QCOMPARE(bar.paneText(3), QStringLiteral("SCRL"));
    m_fixture->updateMenus();
    QVERIFY(frame->menuAction(ID_VIEW_STATUS_BAR)->isChecked());

    // A hovered entry's prompt goes to the message pane; leaving it brings "Ready" back.
    QStatusTipEvent tip(StringTable::Prompt(ID_BROWSE_HOME));
    QApplication::sendEvent(frame, &tip);
    QCOMPARE(bar.message(), QStringLiteral("Go to Homepage"));
    QStatusTipEvent none{QString()};
    QApplication::sendEvent(frame, &none);
    QCOMPARE(bar.message(), QStringLiteral("Ready"));

    // There is no toolbar: its entry never shows a mark and changes nothing.
    frame->SendCommand(ID_VIEW_TOOLBAR);
    m_fixture->updateMenus();
    QVERIFY(!frame->menuAction(ID_VIEW_TOOLBAR)->isChecked());
    QVERIFY(bar.isVisible());

    frame->SendCommand(ID_VIEW_STATUS_BAR);
    QVERIFY(!bar.isVisible());
}

void MainFrameTest::entriesWithoutAPromptLeaveTheMessagePaneEmpty()
{
    CMainFrame* frame = m_fixture->frame();
    StatusBar& bar = frame->statusBarPane();
    frame->SendCommand(ID_VIEW_STATUS_BAR);
    frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame));
    QCOMPARE(bar.message(), QStringLiteral("Ready"));

    // Walk the menus with the keyboard, as a user would, and read the pane at each entry.
    const auto menuOf = [frame](int id) {
        QMenu* menu = nullptr;
        for (QAction* title : frame->menuBar()->actions()) {
            if (title->menu() && title->menu()->actions().contains(frame->menuAction(id)))
                menu = title->menu();
        }
        return menu;
    };
    QMenu* favorites = menuOf(ID_FAVORITES_MODIFY);
    frame->menuBar()->setActiveAction(favorites->menuAction());
    QTRY_VERIFY(favorites->isVisible());
    QCOMPARE(bar.message(), QString());
    QTest::keyClick(favorites, Qt::Key_Down);
    QTRY_COMPARE(favorites->activeAction(), frame->menuAction(ID_FAVORITES_MODIFY));
    QCOMPARE(bar.message(), QStringLiteral("Backup before modify it"));
    QTest::keyClick(favorites, Qt::Key_Down);
    QTRY_COMPARE(favorites->activeAction(), frame->menuAction(ID_FAVORITES_BACKUP));
    QCOMPARE(bar.message(), QString());

    // Over to the next menu, which opens on its first entry: "Go to" has no prompt either.
    QTest::keyClick(favorites, Qt::Key_Right);
    QMenu* homePage = menuOf(ID_HOMEPAGE_GOTO);
    QTRY_VERIFY(homePage->isVisible());
    QTRY_COMPARE(homePage->activeAction(), frame->menuAction(ID_HOMEPAGE_GOTO));
    QCOMPARE(bar.message(), QString());

    // Closing the menus brings the idle text back.
    QTest::keyClick(homePage, Qt::Key_Escape);
    QTRY_VERIFY(!homePage->isVisible());
    if (frame->menuBar()->activeAction())
        QTest::keyClick(frame->menuBar(), Qt::Key_Escape);
    QTRY_COMPARE(bar.message(), QStringLiteral("Ready"));
}

void MainFrameTest::menuEntriesAreEnabledAndCarryNoShortcuts()
{
    CMainFrame* frame = m_fixture->frame();
    const QList<QAction*> menus = frame->menuBar()->actions();
    QStringList titles;
    for (QAction* menu : menus)
        titles.append(menu->text());
    QCOMPARE(titles, (QStringList{"&File", "&Browse", "Favorites", "HomePage", "&Skin", "&View",
                                  "&Catalog", "&Help"}));
    m_fixture->updateMenus();
    int entries = 0;
    for (QAction* menu : menus) {
        for (QAction* action : menu->menu()->actions()) {
            if (action->isSeparator())
                continue;
            ++entries;
            QVERIFY2(action->isEnabled(), qPrintable(action->text()));
            QVERIFY2(action->shortcut().isEmpty(), qPrintable(action->text()));
        }
    }
    QCOMPARE(entries, 35);
    // Each entry has a command of its own: entries sharing a number would run each other's.
    QSet<int> ids;
    for (const MenuDefinition& menu : MenuTable::MainMenu()) {
        for (const MenuEntry& entry : menu.entries) {
            if (entry.text)
                ids.insert(entry.id);
        }
    }
    QCOMPARE(ids.size(), entries);
    QCOMPARE(frame->menuAction(ID_BROWSE_HOME)->text(), QStringLiteral("&Home\tCtrl+H"));
    // New entries come after the old ones of their menu.
    const QList<QAction*> browse =
        qobject_cast<QWidget*>(frame->menuAction(ID_BROWSE_HOME)->parent())->actions();
    QCOMPARE(browse.size(), 7);
    QCOMPARE(browse.at(3), frame->menuAction(ID_BROWSE_FORWORD));
    QCOMPARE(browse.at(4), frame->menuAction(ID_BROWSE_OPEN_EXTERNAL));
    QCOMPARE(browse.at(5), frame->menuAction(ID_BROWSE_FIND));
    QCOMPARE(browse.at(6), frame->menuAction(ID_BROWSE_COPY_ADDRESS));
    QCOMPARE(frame->menuAction(ID_BROWSE_HOME)->statusTip(), QStringLiteral("Go to Homepage"));
    QVERIFY(frame->menuAction(ID_FAVORITES_BACKUP)->statusTip().isEmpty());
}

void MainFrameTest::choosingTheCurrentSkinDoesNothing()
{
    CMainFrame* frame = m_fixture->frame();
    const QString before = SkinEngine::CurrentStyleSheet();
    frame->SendCommand(ID_SKIN_MINI);
    QVERIFY(!m_fixture->hasValue("SkinStyle"));
    QCOMPARE(SkinEngine::CurrentStyleSheet(), before);

    frame->SendCommand(ID_SKIN_SOFT);
    QCOMPARE(m_fixture->intValue("SkinStyle"), 3);
    QVERIFY(SkinEngine::CurrentSkinPath().endsWith(QStringLiteral("Skin/SoftCrystal.ssk")));
    QVERIFY(qApp->styleSheet().startsWith(
        readFile(QDir(m_fixture->workDir()).filePath(QStringLiteral("Skin/SoftCrystal.ssk")))));
    m_fixture->updateMenus();
    QVERIFY(frame->menuAction(ID_SKIN_SOFT)->isChecked());
    QVERIFY(!frame->menuAction(ID_SKIN_MINI)->isChecked());
}

void MainFrameTest::missingSkinFileStillMovesTheChoice()
{
    CMainFrame* frame = m_fixture->frame();
    QVERIFY(
        QFile::remove(QDir(m_fixture->workDir()).filePath(QStringLiteral("Skin/XPCorona.ssk"))));
    const QString before = qApp->styleSheet();
    frame->SendCommand(ID_SKIN_XP);
    QCOMPARE(m_fixture->intValue("SkinStyle"), 1);
    m_fixture->updateMenus();
    QVERIFY(frame->menuAction(ID_SKIN_XP)->isChecked());
    QVERIFY(!frame->menuAction(ID_SKIN_MINI)->isChecked());
    // The look the user had stays; the program goes on.
    QCOMPARE(qApp->styleSheet(), before);
    QVERIFY(frame->isVisible());
}

void MainFrameTest::nightComesAfterTheThreeSkinsAndIsKept()
{
    CMainFrame* frame = m_fixture->frame();
    const QList<QAction*> skins =
        qobject_cast<QWidget*>(frame->menuAction(ID_SKIN_XP)->parent())->actions();
    QCOMPARE(skins,
             (QList<QAction*>{frame->menuAction(ID_SKIN_XP), frame->menuAction(ID_SKIN_MINI),
                              frame->menuAction(ID_SKIN_SOFT), frame->menuAction(ID_SKIN_NIGHT)}));
    QCOMPARE(frame->menuAction(ID_SKIN_SOFT)->text(), QStringLiteral("&Soft\tCtrl+S"));
    QCOMPARE(frame->menuAction(ID_SKIN_NIGHT)->text(), QStringLiteral("&Night"));
    QVERIFY(frame->menuAction(ID_SKIN_NIGHT)->shortcut().isEmpty());

    frame->SendCommand(ID_SKIN_NIGHT);
    QCOMPARE(m_fixture->intValue("SkinStyle"), 4);
    QVERIFY(qApp->styleSheet().startsWith(
        readFile(QDir(m_fixture->workDir()).filePath(QStringLiteral("Skin/Night.ssk")))));
    m_fixture->updateMenus();
    QVERIFY(m_fixture->isChecked(ID_SKIN_NIGHT));
    QVERIFY(!m_fixture->isChecked(ID_SKIN_MINI));

    // The next start comes back dark.
    QVERIFY(m_fixture->restart());
    QVERIFY(SkinEngine::CurrentSkinPath().endsWith(QStringLiteral("Skin/Night.ssk")));
    m_fixture->updateMenus();
    QVERIFY(m_fixture->isChecked(ID_SKIN_NIGHT));
}

void MainFrameTest::skinEngineKeepsTheSplitterBarWidth()
{
    QVERIFY(SkinEngine::CurrentStyleSheet().contains(
        QStringLiteral("QSplitter::handle:horizontal { width: 7px; }")));
    m_fixture->frame()->SendCommand(ID_SKIN_XP);
    QVERIFY(SkinEngine::CurrentStyleSheet().contains(
        QStringLiteral("QSplitter::handle:horizontal { width: 7px; }")));
    QTRY_COMPARE(m_fixture->frame()->splitter().handle(1)->width(), 7);
}

void MainFrameTest::unskinnedMenusShowNoEmptyCheckBoxes()
{
    ExitSkin();
    CMainFrame* frame = m_fixture->frame();
    auto* catalog = qobject_cast<QMenu*>(frame->menuAction(ID_CATALOG_AREA)->parent());
    QVERIFY(catalog);
    catalog->popup(QPoint(40, 40));
    QVERIFY(QTest::qWaitForWindowExposed(catalog));
    // The strip before the text, inside the menu's frame: an unmarked entry looks as one
    // that is never marked, the marked one differs.
    const auto strip = [frame, catalog](int id) {
        const QRect entry = catalog->actionGeometry(frame->menuAction(id));
        return catalog->grab(QRect(entry.left() + 3, entry.top() + 3, 18, entry.height() - 6))
            .toImage();
    };
    QVERIFY(frame->menuAction(ID_CATALOG_AREA)->isChecked());
    QCOMPARE(strip(ID_CATALOG_CONTENT), strip(ID_CATALOG_CHECK_LINKS));
    QVERIFY(strip(ID_CATALOG_AREA) != strip(ID_CATALOG_CHECK_LINKS));
    catalog->hide();
}

void MainFrameTest::menuKeyHintsRunNothing()
{
    CMainFrame* frame = m_fixture->frame();
    CLeftView* tree = m_fixture->tree();
    QSignalSpy navigations(m_fixture->browser(), &HtmlView::navigateRequested);
    frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame));
    tree->setFocus();
    const QString title = frame->windowTitle();
    for (const Qt::Key key : {Qt::Key_M, Qt::Key_H, Qt::Key_B, Qt::Key_F, Qt::Key_A})
        QTest::keyClick(tree, key, Qt::ControlModifier);
    QVERIFY(!frame->isMinimized());
    QCOMPARE(navigations.size(), 0);
    QVERIFY(!m_fixture->hasValue("CataView"));
    QCOMPARE(frame->windowTitle(), title);
}

void MainFrameTest::frameworkKeysReachTheFramework()
{
    CMainFrame* frame = m_fixture->frame();
    CLeftView* tree = m_fixture->tree();
    frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame));
    tree->setFocus();
    QList<FileDialog::Mode> asked;
    const auto previous = FileDialog::SetHook([&](FileDialog::Mode mode, const QString&) {
        asked.append(mode);
        return QString();
    });
    for (const Qt::Key key : {Qt::Key_X, Qt::Key_S, Qt::Key_C})
        QTest::keyClick(tree, key, Qt::ControlModifier);
    FileDialog::SetHook(previous);
    // Ctrl+S is Save, which asks for a file name; nothing reached the skin or catalog.
    QCOMPARE(asked, QList<FileDialog::Mode>{FileDialog::Mode::Save});
    QVERIFY(!m_fixture->hasValue("SkinStyle"));
    QVERIFY(!m_fixture->hasValue("CataView"));
    QVERIFY(SkinEngine::CurrentSkinPath().endsWith(QStringLiteral("Minimized.ssk")));
}

void MainFrameTest::paneKeysMoveTheFocus()
{
    CMainFrame* frame = m_fixture->frame();
    frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame));
    m_fixture->tree()->setFocus();
    QTRY_VERIFY(m_fixture->browser()->hasEngine());
    QTest::keyClick(m_fixture->tree(), Qt::Key_F6);
    QCOMPARE(frame->GetActiveView(), m_fixture->browser());
    QTRY_VERIFY(m_fixture->browser()->isAncestorOf(QApplication::focusWidget()) ||
                QApplication::focusWidget() == m_fixture->browser());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ShiftModifier);
    QTRY_COMPARE(QApplication::focusWidget(), m_fixture->tree());
    QCOMPARE(frame->GetActiveView(), m_fixture->tree());
}

void MainFrameTest::printingFromTheTreePrintsABlankPage()
{
    CMainFrame* frame = m_fixture->frame();
    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("tree.pdf"));
    int asked = 0;
    const auto previous = PrintDialog::SetHook([&](QPrinter& printer) {
        ++asked;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(output);
        return true;
    });
    frame->SetActiveView(m_fixture->tree());
    frame->SendCommand(ID_FILE_PRINT);
    PrintDialog::SetHook(previous);
    QCOMPARE(asked, 1);
    QVERIFY(QFileInfo(output).size() > 0);
}

void MainFrameTest::minimizeCommandMinimizes()
{
    m_fixture->frame()->SendCommand(ID_FILE_MINIMIZE);
    QTRY_VERIFY(m_fixture->frame()->isMinimized());
    QTRY_COMPARE(m_fixture->intValue("WindowSize"), 5);
}

KESTRIN_TEST_MAIN(MainFrameTest)
#include "tst_mainframe.moc"
