// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "app/SettingsKeys.h"
#include "catalog/CLeftView.h"
#include "catalog/CatalogContextMenu.h"
#include "catalog/CatalogTreeFilter.h"
#include "favorites/CFavoritesStore.h"
#include "support/MenuEntries.h"
#include "support/MessageCapture.h"
#include "support/ModalDriver.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"
#include "support/TreeFixture.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QDrag>
#include <QInputDialog>
#include <QMenu>
#include <QTimer>

namespace {
const QByteArray kFolders =
    "<Favorites>"
    "<Favorite><title>Zeta</title><url>http://zeta/</url></Favorite>"
    "<Folder><title>States</title>"
    "<Folder><title>Ohio</title>"
    "<Favorite><title>Plain Dealer</title><url>http://dealer/</url></Favorite></Folder>"
    "<Favorite><title>Texas Tribune</title><url>http://tribune/</url></Favorite></Folder>"
    "<Folder><title>Alpha</title></Folder>"
    "<Favorite><title>Beta</title><url>http://beta/</url></Favorite>"
    "</Favorites>";

QStringList Texts(const QTreeWidgetItem* parent)
{
    QStringList texts;
    for (int i = 0; parent && i < parent->childCount(); ++i)
        texts.append(parent->child(i)->text(0));
    return texts;
}

} // namespace

// The folders of My Favorites in the tree: shown, remembered, changed by menu and by drag.
class TreeFoldersTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_fixture = std::make_unique<TreeFixture>();
        QVERIFY(m_fixture->writeFavorites(kFolders));
        m_menu = m_fixture->showWithFavoritesMenu();
        QVERIFY(m_menu);
    }
    void cleanup()
    {
        m_menu.reset();
        m_fixture.reset();
    }

    void foldersComeFirstCollapsedAndStayAsTheUserLeftThem()
    {
        CLeftView* tree = m_fixture->tree();
        QTreeWidgetItem* favorites = node("My Favorites");
        QVERIFY(favorites->isExpanded());
        QCOMPARE(Texts(favorites), (QStringList{"Alpha", "States", "Beta", "Zeta"}));
        QTreeWidgetItem* states = TreeFixture::childNamed(favorites, "States");
        QCOMPARE(Texts(states), (QStringList{"Ohio", "Texas Tribune"}));
        QVERIFY(!states->isExpanded());
        QCOMPARE(tree->FolderPath(states->child(0)), (QStringList{"States", "Ohio"}));
        QCOMPARE(tree->FavoritesUnder(states).size(), 2);

        // Opened by the user: open again after a rebuild, a change and a new start.
        states->setExpanded(true);
        states->child(0)->setExpanded(true);
        tree->RebuildTree(CatalogView::ByArea);
        states = TreeFixture::childNamed(node("My Favorites"), "States");
        QVERIFY(states->isExpanded());
        QVERIFY(m_fixture->store().CreateFolder({}, QStringLiteral("New")));
        states = TreeFixture::childNamed(node("My Favorites"), "States");
        QVERIFY(states->isExpanded());
        QVERIFY(!TreeFixture::childNamed(node("My Favorites"), "New")->isExpanded());
        states->child(0)->setExpanded(false);

        // The settings are written once the expansion settles.
        QCoreApplication::processEvents();
        CLeftView again(m_fixture->profile(), m_fixture->store());
        again.OnInitialUpdate();
        QTreeWidgetItem* favoritesAgain =
            TreeFixture::childNamed(again.topLevelItem(0), "My Favorites");
        QTreeWidgetItem* statesAgain = TreeFixture::childNamed(favoritesAgain, "States");
        QVERIFY(statesAgain->isExpanded());
        QVERIFY(!statesAgain->child(0)->isExpanded());
        // A folder is no place to go: selecting one opens nothing.
        again.setCurrentItem(TreeFixture::childNamed(favoritesAgain, "Alpha"));
        QCOMPARE(m_fixture->navigations()->size(), 0);
    }

    void dragsMoveFavoritesAndFoldersWithinMyFavorites()
    {
        CLeftView* tree = m_fixture->tree();
        QTreeWidgetItem* favorites = node("My Favorites");
        QTreeWidgetItem* alpha = TreeFixture::childNamed(favorites, "Alpha");
        QTreeWidgetItem* states = TreeFixture::childNamed(favorites, "States");
        QVERIFY(tree->DropOn(TreeFixture::childNamed(favorites, "Zeta"), alpha));
        alpha = TreeFixture::childNamed(node("My Favorites"), "Alpha");
        QCOMPARE(Texts(alpha), QStringList{"Zeta"});
        // Dropped on a favorite: into that favorite's folder.
        states = TreeFixture::childNamed(node("My Favorites"), "States");
        QVERIFY(tree->DropOn(states, alpha->child(0)));
        alpha = TreeFixture::childNamed(node("My Favorites"), "Alpha");
        QCOMPARE(Texts(alpha), (QStringList{"States", "Zeta"}));
        states = alpha->child(0);
        // Never into itself, nor out of My Favorites, nor where it is already.
        QVERIFY(!tree->DropOn(alpha, states->child(0)));
        QVERIFY(!tree->DropOn(states, node("National")->child(0)));
        QVERIFY(!tree->DropOn(node("National")->child(0), alpha));
        QVERIFY(!tree->DropOn(states, alpha));
        QCOMPARE(m_fixture->folder().readRows().size(), 4);
        QList<FavoriteRecord> records;
        QVERIFY(m_fixture->store().ReadAll(records));
        QCOMPARE(records.at(0).folder, QStringList{"Alpha"});
        QCOMPARE(records.at(1).folder, (QStringList{"Alpha", "States", "Ohio"}));
    }

    void aDragLetGoWithoutADropChangesNothing()
    {
        CLeftView* tree = m_fixture->tree();
        const QByteArray before = TestFiles::Read(m_fixture->folder().favoritesPath());
        QTreeWidgetItem* zeta = TreeFixture::childNamed(node("My Favorites"), "Zeta");
        QTreeWidgetItem* alpha = TreeFixture::childNamed(node("My Favorites"), "Alpha");
        tree->scrollToItem(zeta);
        const QPoint from = tree->visualItemRect(zeta).center();
        const QPoint to = tree->visualItemRect(alpha).center();
        // Esc while the drag is on. The offscreen platform ends a drag at once as a cancelled
        // one, without the loop a desktop runs, where this key ends it.
        QTimer::singleShot(0, tree, [tree] { QTest::keyClick(tree, Qt::Key_Escape); });
        QTest::mousePress(tree->viewport(), Qt::LeftButton, {}, from);
        // The first move makes the view ready to drag, the next one far enough starts it.
        for (const QPoint& at : {from + QPoint(1, 0), to}) {
            QMouseEvent move(QEvent::MouseMove, at, tree->viewport()->mapToGlobal(at), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(tree->viewport(), &move);
        }
        // A real drag ran: the view made one.
        QVERIFY(tree->findChild<QDrag*>());
        QTest::mouseRelease(tree->viewport(), Qt::LeftButton, {}, to);
        QCoreApplication::processEvents();
        QCOMPARE(TestFiles::Read(m_fixture->folder().favoritesPath()), before);
        QCOMPARE(Texts(node("My Favorites")), (QStringList{"Alpha", "States", "Beta", "Zeta"}));
        QVERIFY(Texts(TreeFixture::childNamed(node("My Favorites"), "Alpha")).isEmpty());
    }

    void folderMenuMakesRenamesAndDeletesNamingWhatGoes()
    {
        rightClick(TreeFixture::childNamed(node("My Favorites"), "States"));
        QCOMPARE(MenuEntries::Texts(m_menu->menu()),
                 (QStringList{"New &Folder\u2026", "&Rename\u2026", "&Delete\u2026",
                              "Sort Folder by &Name"}));
        ModalDriver driver;
        driver.next<QInputDialog>([](QInputDialog* dialog) {
            QCOMPARE(dialog->textValue(), QString());
            dialog->setTextValue(QStringLiteral("Iowa"));
            dialog->accept();
        });
        MenuEntries::Find(m_menu->menu(), "New &Folder\u2026")->trigger();
        QVERIFY(driver.done());
        QStringList inStates = Texts(TreeFixture::childNamed(node("My Favorites"), "States"));
        QCOMPARE(inStates, (QStringList{"Iowa", "Ohio", "Texas Tribune"}));

        MessageCapture messages;
        messages.answer(IDNO);
        rightClick(TreeFixture::childNamed(node("My Favorites"), "States"));
        MenuEntries::Find(m_menu->menu(), "&Delete\u2026")->trigger();
        QCOMPARE(messages.texts(),
                 QStringList{"Delete the folder \u201cStates\u201d and the 2 favorites it holds?"});
        QVERIFY(TreeFixture::childNamed(node("My Favorites"), "States"));
        rightClick(TreeFixture::childNamed(node("My Favorites"), "States"));
        MenuEntries::Find(m_menu->menu(), "&Delete\u2026")->trigger();
        QVERIFY(!TreeFixture::childNamed(node("My Favorites"), "States"));
        QCOMPARE(m_fixture->folder().readRows(),
                 (QStringList{"Zeta|http://zeta/", "Beta|http://beta/"}));

        // My Favorites offers only a new folder; a favorite offers a move.
        rightClick(node("My Favorites"));
        QCOMPARE(MenuEntries::Texts(m_menu->menu()), QStringList{"New &Folder\u2026"});
        rightClick(TreeFixture::childNamed(node("My Favorites"), "Beta"));
        ModalDriver mover;
        mover.next<QDialog>([](QDialog* dialog) {
            auto* folder = dialog->findChild<QComboBox*>(QStringLiteral("folder"));
            QCOMPARE(folder->itemText(0), QStringLiteral("My Favorites"));
            folder->setCurrentIndex(folder->findText(QStringLiteral("    Alpha")));
            dialog->accept();
        });
        MenuEntries::Find(m_menu->menu(), "&Move to Folder\u2026")->trigger();
        QVERIFY(mover.done());
        QCOMPARE(Texts(TreeFixture::childNamed(node("My Favorites"), "Alpha")),
                 QStringList{"Beta"});
    }

    void twinFoldersShowAsOneAndAreJoinedByTheFirstChange()
    {
        QVERIFY(m_fixture->writeFavorites(
            "<Favorites>"
            "<Folder><title>Local</title><Favorite><title>B</title><url>http://b/</url></Favorite>"
            "</Folder><Favorite><title>Top</title><url>http://top/</url></Favorite>"
            "<Folder><title>Local</title><Favorite><title>C</title><url>http://c/</url></Favorite>"
            "</Folder></Favorites>"));
        CLeftView* tree = m_fixture->tree();
        tree->RebuildTree(CatalogView::ByArea);
        QTreeWidgetItem* local = TreeFixture::childNamed(node("My Favorites"), "Local");
        QCOMPARE(Texts(node("My Favorites")), (QStringList{"Local", "Top"}));
        QCOMPARE(Texts(local), (QStringList{"B", "C"}));
        QCOMPARE(tree->FavoritesUnder(local).size(), 2);

        // Whatever is done to it is done to all it shows, and the user is told why the file
        // holds one folder now.
        MessageCapture messages;
        QVERIFY(tree->DropOn(TreeFixture::childNamed(node("My Favorites"), "Top"), local));
        QCOMPARE(messages.texts(),
                 QStringList{"My Favorites held folders of the same name side by side: "
                             "\u201cLocal\u201d. Each is one folder now, holding everything they "
                             "held."});
        QCOMPARE(m_fixture->folder().readRows(),
                 (QStringList{"B|http://b/", "C|http://c/", "Top|http://top/"}));
        QList<FavoriteRecord> records;
        QList<QStringList> folders;
        QVERIFY(m_fixture->store().ReadAll(records, folders));
        QCOMPARE(folders, QList<QStringList>{QStringList{"Local"}});
        QCOMPARE(Texts(TreeFixture::childNamed(node("My Favorites"), "Local")),
                 (QStringList{"B", "C", "Top"}));
    }

    void filterFindsFavoritesInFoldersAndFoldersByName()
    {
        CatalogTreeFilter filter(m_fixture->tree());
        filter.SetText(QStringLiteral("dealer"));
        QCOMPARE(filter.firstMatch()->text(0), QStringLiteral("Plain Dealer"));
        QVERIFY(!filter.firstMatch()->isHidden());
        QVERIFY(filter.firstMatch()->parent()->isExpanded());
        // A folder's name finds the folder itself, above what it holds.
        filter.SetText(QStringLiteral("ohio"));
        QCOMPARE(filter.firstMatch()->text(0), QStringLiteral("Ohio"));
        QCOMPARE(filter.folderMatchCount(), 1);
        QVERIFY(filter.firstMatch()->isExpanded());
        QVERIFY(!filter.firstMatch()->child(0)->isHidden());
    }

private:
    [[nodiscard]] QTreeWidgetItem* node(const char* text) const
    {
        return TreeFixture::childNamed(m_fixture->tree()->topLevelItem(0), QString::fromUtf8(text));
    }
    void rightClick(QTreeWidgetItem* item) const
    {
        CLeftView* tree = m_fixture->tree();
        tree->scrollToItem(item);
        const QPoint at = tree->visualItemRect(item).center();
        QContextMenuEvent request(QContextMenuEvent::Mouse, at, tree->viewport()->mapToGlobal(at));
        QApplication::sendEvent(tree->viewport(), &request);
        QVERIFY(m_menu->menu());
    }

    std::unique_ptr<TreeFixture> m_fixture;
    std::unique_ptr<CatalogContextMenu> m_menu;
};

KESTRIN_TEST_MAIN(TreeFoldersTest)
#include "tst_treefolders.moc"
