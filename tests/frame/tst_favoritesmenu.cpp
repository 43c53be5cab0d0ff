// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "app/Globals.h"
#include "browser/CKestrinNewsReaderView.h"
#include "catalog/CLeftView.h"
#include "catalog/CatalogContextMenu.h"
#include "catalog/CatalogFilterEdit.h"
#include "catalog/CatalogPane.h"
#include "favorites/CFavoritesStore.h"
#include "favorites/ui/CAddModifyFavoriteDlg.h"
#include "favorites/ui/CRestoreFavoritesDlg.h"
#include "frame/CMainFrame.h"
#include "platform/FileDialog.h"
#include "res/Resource.h"
#include "support/AppFixture.h"
#include "support/DialogControls.h"
#include "support/MessageCapture.h"
#include "support/ModalDriver.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>

namespace {
const QString kNothingOnShow = QStringLiteral(
    "There is no page on show to add to My Favorites. Open a newspaper's site first, then "
    "choose Add Current Page (Ctrl+D).");

// Answers the file chooser with one path while it lives.
class ChooserAnswer
{
public:
    explicit ChooserAnswer(QString path)
        : m_previous(FileDialog::SetHook([this, path](FileDialog::Mode mode, const QString&) {
              modes.append(mode);
              return path;
          }))
    {}
    ~ChooserAnswer() { FileDialog::SetHook(m_previous); }
    ChooserAnswer(const ChooserAnswer&) = delete;
    ChooserAnswer& operator=(const ChooserAnswer&) = delete;

    QList<FileDialog::Mode> modes;

private:
    FileDialog::Hook m_previous;
};
} // namespace

class FavoritesMenuTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { m_fixture.reset(); }

    void newEntriesFollowBackupInOrder()
    {
        QVERIFY(start(1));
        auto* favorites =
            qobject_cast<QMenu*>(m_fixture->frame()->menuAction(ID_FAVORITES_MODIFY)->parent());
        QVERIFY(favorites);
        QStringList entries;
        QList<int> ids;
        for (QAction* action : favorites->actions()) {
            entries.append(action->text());
            ids.append(action->data().toInt());
        }
        QCOMPARE(entries, (QStringList{"Modify", "Backup", "Add Current Page\tCtrl+D",
                                       "Import Bookmarks…", "Export Bookmarks…", "Restore…"}));
        QCOMPARE(ids,
                 (QList<int>{ID_FAVORITES_MODIFY, ID_FAVORITES_BACKUP, ID_FAVORITES_ADD_CURRENT,
                             ID_FAVORITES_IMPORT, ID_FAVORITES_EXPORT, ID_FAVORITES_RESTORE}));
        QCOMPARE(m_fixture->frame()->menuAction(ID_FAVORITES_ADD_CURRENT)->statusTip(),
                 QStringLiteral("Add the page on show to My Favorites"));
    }

    void addCurrentPageFillsTheDialogFromTheLocalPageOnShow()
    {
        m_fixture = std::make_unique<AppFixture>();
        m_fixture->setInt("IndexPage", 3);
        m_fixture->setString("IndexPageURL", TestFiles::PageUrl("titled.html"));
        QVERIFY(m_fixture->start());
        CMainFrame* frame = m_fixture->frame();
        QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(),
                                  QStringLiteral("Local Test Page - Kestrin News Reader"), 15000);
        const QStringList before = m_fixture->favoriteRows();

        MessageCapture messages;
        ModalDriver driver;
        driver.next<CAddModifyFavoriteDlg>([&](CAddModifyFavoriteDlg* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Edit My Favorites"));
            QLineEdit* name = DialogControls::Edit(dialog, IDC_FAVORITE_NAME);
            QCOMPARE(name->text(), QStringLiteral("Local Test Page"));
            QCOMPARE(name->selectedText(), name->text());
            QCOMPARE(QApplication::focusWidget(), name);
            QCOMPARE(DialogControls::Edit(dialog, IDC_FAVORITE_URL)->text(),
                     TestFiles::PageUrl("titled.html"));
            QVERIFY(!dialog->GetDlgItem(IDC_DELETE)->isEnabled());
            qobject_cast<QPushButton*>(dialog->GetDlgItem(IDOK))->click();
        });
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame));
        m_fixture->tree()->setFocus();
        QTest::keyClick(m_fixture->tree(), Qt::Key_D, Qt::ControlModifier);
        QTRY_VERIFY_WITH_TIMEOUT(driver.done(), 20000);
        QVERIFY(!driver.timedOut());
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Successfully!")});
        QCOMPARE(m_fixture->favoriteRows(),
                 before + QStringList{QStringLiteral("Local Test Page|") +
                                      TestFiles::PageUrl("titled.html")});
        // The tree shows it at once, chosen, without opening the page again.
        CLeftView* tree = m_fixture->tree();
        QTreeWidgetItem* added = tree->currentItem();
        QVERIFY(added && added->isSelected());
        QCOMPARE(added->text(0), QStringLiteral("Local Test Page"));
        QCOMPARE(added->parent()->text(0), QStringLiteral("My Favorites"));
        QCOMPARE(tree->urlOf(added), TestFiles::PageUrl("titled.html"));
        // And the filter box finds it by its name.
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame));
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_K, Qt::ControlModifier);
        QTRY_VERIFY(qobject_cast<CatalogFilterEdit*>(QApplication::focusWidget()));
        auto* filter = qobject_cast<CatalogFilterEdit*>(QApplication::focusWidget());
        QTest::keyClicks(filter, QStringLiteral("local test"));
        CatalogPane* pane = frame->findChild<CatalogPane*>();
        QVERIFY(pane);
        QCOMPARE(pane->filter().firstMatch(), added);
        QCOMPARE(pane->filter().matchCount(), 1);
        filter->clear();

        // A page without a title is named after its file.
        QSignalSpy loads(m_fixture->browser(), &HtmlView::loadFinished);
        m_fixture->browser()->NavigateTo(TestFiles::PageUrl("untitled.html"));
        QTRY_COMPARE_WITH_TIMEOUT(loads.size(), 1, 15000);
        QString offered;
        driver.next<CAddModifyFavoriteDlg>([&](CAddModifyFavoriteDlg* dialog) {
            offered = DialogControls::Edit(dialog, IDC_FAVORITE_NAME)->text();
            dialog->reject();
        });
        QTRY_COMPARE_WITH_TIMEOUT(m_fixture->browser()->url(),
                                  QUrl(TestFiles::PageUrl("untitled.html")), 15000);
        frame->SendCommand(ID_FAVORITES_ADD_CURRENT);
        QCOMPARE(offered, QStringLiteral("untitled.html"));
    }

    void addCurrentPageRefusesWhenNoSiteIsOnShow()
    {
        QVERIFY(start(1));
        CMainFrame* frame = m_fixture->frame();
        CKestrinNewsReaderView* browser = m_fixture->browser();
        browser->EnsureEngine();
        const QByteArray favorites = TestFiles::Read(m_fixture->favorites().GetFavoritesPath());
        MessageCapture messages;

        // The blank pane.
        frame->SendCommand(ID_FAVORITES_ADD_CURRENT);
        QCOMPARE(messages.texts(), QStringList{kNothingOnShow});

        // The program's own start page and help page, and a page that did not load.
        QSignalSpy loads(browser, &HtmlView::loadFinished);
        frame->SendCommand(ID_BROWSE_HOME);
        QTRY_COMPARE_WITH_TIMEOUT(loads.size(), 1, 15000);
        frame->SendCommand(ID_FAVORITES_ADD_CURRENT);
        frame->SendCommand(ID_HELP_CONTENT);
        QTRY_COMPARE_WITH_TIMEOUT(loads.size(), 2, 15000);
        QVERIFY(loads.last().first().toBool());
        frame->SendCommand(ID_FAVORITES_ADD_CURRENT);
        browser->NavigateTo(
            QUrl::fromLocalFile(QDir(g_strAppDir).filePath(QStringLiteral("gone.html")))
                .toString());
        QTRY_COMPARE_WITH_TIMEOUT(loads.size(), 3, 15000);
        QVERIFY(!loads.last().first().toBool());
        frame->SendCommand(ID_FAVORITES_ADD_CURRENT);

        QCOMPARE(messages.texts(), QStringList(4, kNothingOnShow));
        QCOMPARE(TestFiles::Read(m_fixture->favorites().GetFavoritesPath()), favorites);
    }

    void exportAndImportGoThroughTheChosenFile()
    {
        QVERIFY(start(1));
        CMainFrame* frame = m_fixture->frame();
        QVERIFY(TestFiles::Write(
            m_fixture->favorites().GetFavoritesPath(),
            TestFiles::FavoritesXml(
                {{QStringLiteral("Daily & Co"), QStringLiteral("https://daily.example/?a=1&b=2")},
                 {QStringLiteral("Ça"), QStringLiteral("http://ca.example/")}})));
        const QStringList rows = m_fixture->favoriteRows();
        const QString exported = QDir(g_strAppDir).filePath(QStringLiteral("exported.html"));
        MessageCapture messages;
        {
            ChooserAnswer chooser(exported);
            frame->SendCommand(ID_FAVORITES_EXPORT);
            QCOMPARE(chooser.modes, QList<FileDialog::Mode>{FileDialog::Mode::Save});
        }
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY(TestFiles::Read(exported).startsWith("<!DOCTYPE NETSCAPE-Bookmark-file-1>"));

        QVERIFY(TestFiles::Write(m_fixture->favorites().GetFavoritesPath(),
                                 TestFiles::FavoritesXml({})));
        {
            // Cancel in the chooser: nothing happens.
            ChooserAnswer chooser{QString()};
            frame->SendCommand(ID_FAVORITES_IMPORT);
            QCOMPARE(chooser.modes, QList<FileDialog::Mode>{FileDialog::Mode::Open});
            QCOMPARE(messages.texts().size(), 1);
        }
        {
            ChooserAnswer chooser(exported);
            frame->SendCommand(ID_FAVORITES_IMPORT);
        }
        QCOMPARE(messages.texts().size(), 2);
        QVERIFY(messages.texts().last().endsWith(
            QStringLiteral("2 added, 0 already in My Favorites, 0 skipped: not web addresses.")));
        QCOMPARE(m_fixture->favoriteRows(), rows);
    }

    void treeMenuOfTheProgramOffersTheFavoritesEntries()
    {
        QVERIFY(start(1));
        CLeftView* tree = m_fixture->tree();
        QTreeWidgetItem* site = tree->topLevelItem(0)->child(1)->child(0);
        tree->scrollToItem(site);
        const QPoint at = tree->visualItemRect(site).center();
        QContextMenuEvent request(QContextMenuEvent::Mouse, at, tree->viewport()->mapToGlobal(at));
        QApplication::sendEvent(tree->viewport(), &request);
        QMenu* menu = m_fixture->frame()->treeMenu()->menu();
        QVERIFY(menu);
        QStringList texts;
        for (const QAction* action : menu->actions())
            texts.append(action->text());
        QVERIFY2(texts.contains(QStringLiteral("Add to My &Favorites")),
                 qPrintable(texts.join(u'|')));
        menu->close();
    }

    void restoreOpensTheBackupList()
    {
        QVERIFY(start(1));
        MessageCapture messages;
        QVERIFY(m_fixture->favorites().Update(CFavoritesStore::Add, QStringLiteral("Added"),
                                              QStringLiteral("http://added.example/")));
        ModalDriver driver;
        int listed = -1;
        driver.next<CRestoreFavoritesDlg>([&](CRestoreFavoritesDlg* dialog) {
            listed = dialog->list()->topLevelItemCount();
            dialog->reject();
        });
        m_fixture->frame()->SendCommand(ID_FAVORITES_RESTORE);
        QCOMPARE(listed, 1);
    }

private:
    bool start(int indexPage)
    {
        m_fixture = std::make_unique<AppFixture>();
        m_fixture->setInt("IndexPage", indexPage);
        return m_fixture->start();
    }
    std::unique_ptr<AppFixture> m_fixture;
};

KESTRIN_TEST_MAIN(FavoritesMenuTest)
#include "tst_favoritesmenu.moc"
