// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "catalog/CLeftView.h"
#include "catalog/CatalogContextMenu.h"
#include "catalog/CatalogData.h"
#include "catalog/FavoriteMenuEntries.h"
#include "favorites/CFavoritesStore.h"
#include "favorites/ui/CAddModifyFavoriteDlg.h"
#include "favorites/ui/CBookmarksTransfer.h"
#include "favorites/ui/CEditMyFavoriteDlg.h"
#include "favorites/ui/CRestoreFavoritesDlg.h"
#include "res/Resource.h"
#include "support/DialogControls.h"
#include "support/MenuEntries.h"
#include "support/MessageCapture.h"
#include "support/ModalDriver.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"
#include "support/TreeFixture.h"
#include "support/ViewRows.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>

namespace {
const QString kGone = QStringLiteral("This favorite is no longer in My Favorites as shown: it was "
                                     "changed or deleted since. Nothing was changed.");

} // namespace

// My Favorites in the tree follows every change of the favorites file at once, whoever
// makes it, and leaves the rest of the tree as the user had it.
class TreeFollowsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void editorNewShowsTheFavoriteAtOnce();
    void editorEditRenamesTheItemInItsPlace();
    void editorDeleteKeyAndDoubleClickRemoveTheItem();
    void treeMenuAddSelectsTheNewFavoriteWithoutOpeningIt();
    void treeMenuEditAndDeleteShowAtOnce();
    void importShowsTheNewFavorites();
    void restoreShowsTheRestoredList();
    void anotherCopysAddShowsUp();
    void catalogSelectionAndScrollStayPut();
    void favoritesThatStayKeepTheirIndicesAndTheOrderIsARebuilds();
    void deleteOrEditOfAFavoriteGoneMeanwhileSaysSo();

private:
    [[nodiscard]] CLeftView* tree() const { return m_fixture->tree(); }
    [[nodiscard]] QTreeWidgetItem* root() const { return tree()->topLevelItem(0); }
    [[nodiscard]] QTreeWidgetItem* favorites() const
    {
        return TreeFixture::childNamed(root(), QStringLiteral("My Favorites"));
    }
    [[nodiscard]] QTreeWidgetItem* favorite(const char* name) const
    {
        return TreeFixture::childNamed(favorites(), QString::fromUtf8(name));
    }
    // "name|index" for each favorite, as the tree shows them.
    [[nodiscard]] QStringList shown() const;
    void rightClick(QTreeWidgetItem* item) const;
    void writeFavorites(const QByteArray& xml) const { QVERIFY(m_fixture->writeFavorites(xml)); }

    std::unique_ptr<TreeFixture> m_fixture;
    std::unique_ptr<CatalogContextMenu> m_menu;
    // The National node and its first site, which no favorites change may touch.
    QTreeWidgetItem* m_national = nullptr;
    QTreeWidgetItem* m_site = nullptr;
};

void TreeFollowsTest::init()
{
    m_fixture = std::make_unique<TreeFixture>();
    QVERIFY(m_fixture->writeFavorites(TestFiles::FavoritesXml(
        {{QStringLiteral("Zeta Weekly"), QStringLiteral("http://zeta.example/")},
         {QStringLiteral("Alpha Daily"), QStringLiteral("http://alpha.example/")}})));
    tree()->OnInitialUpdate();
    tree()->resize(300, 500);
    tree()->show();
    QVERIFY(QTest::qWaitForWindowExposed(tree()));
    m_menu = std::make_unique<CatalogContextMenu>(tree());
    m_menu->addSection([this](QMenu& menu, const CatalogMenuContext& context) {
        FavoriteMenuEntries::AddTo(menu, *tree(), context.item);
    });
    m_national = TreeFixture::childNamed(root(), QStringLiteral("National"));
    m_site = m_national->child(0);
}

void TreeFollowsTest::cleanup()
{
    // No change may have rebuilt the catalog: its items are those of the first build.
    if (m_national)
        QCOMPARE(TreeFixture::childNamed(root(), QStringLiteral("National")), m_national);
    m_menu.reset();
    m_fixture.reset();
    m_national = nullptr;
}

QStringList TreeFollowsTest::shown() const
{
    QStringList result;
    for (int i = 0; i < favorites()->childCount(); ++i) {
        const QTreeWidgetItem* item = favorites()->child(i);
        result.append(item->text(0) + QLatin1Char('|') +
                      QString::number(item->data(0, CLeftView::kIndexRole).toInt()));
    }
    return result;
}

void TreeFollowsTest::rightClick(QTreeWidgetItem* item) const
{
    tree()->scrollToItem(item);
    const QPoint at = tree()->visualItemRect(item).center();
    QContextMenuEvent request(QContextMenuEvent::Mouse, at, tree()->viewport()->mapToGlobal(at));
    QApplication::sendEvent(tree()->viewport(), &request);
}

void TreeFollowsTest::editorNewShowsTheFavoriteAtOnce()
{
    const int next = tree()->nextIndex();
    MessageCapture messages;
    ModalDriver driver;
    CEditMyFavoriteDlg editor(m_fixture->store());
    driver.next<CEditMyFavoriteDlg>(
        [](CEditMyFavoriteDlg* dialog) { DialogControls::Button(dialog, IDOK)->click(); });
    driver.next<CAddModifyFavoriteDlg>([](CAddModifyFavoriteDlg* dialog) {
        DialogControls::Edit(dialog, IDC_FAVORITE_NAME)->setText(QStringLiteral("Middle Post"));
        DialogControls::Edit(dialog, IDC_FAVORITE_URL)->setText(QStringLiteral("http://mid/"));
        DialogControls::Button(dialog, IDOK)->click();
    });
    driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg* dialog) {
        // While the editor is still open.
        QCOMPARE(shown(), (QStringList{"Alpha Daily|2", "Middle Post|" + QString::number(next),
                                       "Zeta Weekly|1"}));
        dialog->reject();
    });
    editor.DoModal();
    QVERIFY(driver.done());
    QCOMPARE(tree()->urlOf(favorite("Middle Post")), QStringLiteral("http://mid/"));
    // Added from the editor: nothing is selected for the user.
    QCOMPARE(tree()->currentItem(), nullptr);
    QCOMPARE(m_fixture->navigations()->size(), 0);
}

void TreeFollowsTest::editorEditRenamesTheItemInItsPlace()
{
    QTreeWidgetItem* zeta = favorite("Zeta Weekly");
    MessageCapture messages;
    ModalDriver driver;
    CEditMyFavoriteDlg editor(m_fixture->store());
    driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg* dialog) {
        ViewRows::Select(editor.list(), 0);
        DialogControls::Button(dialog, IDC_EDIT_FAVORITE)->click();
    });
    driver.next<CAddModifyFavoriteDlg>([](CAddModifyFavoriteDlg* dialog) {
        DialogControls::Edit(dialog, IDC_FAVORITE_NAME)->setText(QStringLiteral("Beta Weekly"));
        DialogControls::Button(dialog, IDOK)->click();
    });
    driver.next<CEditMyFavoriteDlg>([](CEditMyFavoriteDlg* dialog) { dialog->reject(); });
    editor.DoModal();
    QVERIFY(driver.done());
    // The same item, index and address, under its new name and in its new place.
    QCOMPARE(shown(), (QStringList{"Alpha Daily|2", "Beta Weekly|1"}));
    QCOMPARE(favorite("Beta Weekly"), zeta);
    QCOMPARE(tree()->urlOf(zeta), QStringLiteral("http://zeta.example/"));
}

void TreeFollowsTest::editorDeleteKeyAndDoubleClickRemoveTheItem()
{
    MessageCapture messages;
    ModalDriver driver;
    CEditMyFavoriteDlg editor(m_fixture->store());
    driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg*) {
        ViewRows::Select(editor.list(), 1);
        QTest::keyClick(editor.list(), Qt::Key_Delete);
        QCOMPARE(shown(), QStringList{"Zeta Weekly|1"});
        ViewRows::DoubleClick(editor.list(), 0);
    });
    driver.next<CAddModifyFavoriteDlg>(
        [](CAddModifyFavoriteDlg* dialog) { DialogControls::Button(dialog, IDC_DELETE)->click(); });
    driver.next<CEditMyFavoriteDlg>([](CEditMyFavoriteDlg* dialog) { dialog->reject(); });
    editor.DoModal();
    QVERIFY(driver.done());
    QCOMPARE(shown(), QStringList());
    // The specified question of the double-click stays as it was.
    QCOMPARE(messages.texts(),
             (QStringList{QStringLiteral("Delete the favorite \u201cAlpha Daily\u201d?"),
                          QStringLiteral("Successfully!"), QStringLiteral("Determined to delete?"),
                          QStringLiteral("Successfully!")}));
}

void TreeFollowsTest::treeMenuAddSelectsTheNewFavoriteWithoutOpeningIt()
{
    // A site far down the catalog, so that the new favorite is out of sight at first.
    QTreeWidgetItem* states = TreeFixture::childNamed(root(), QStringLiteral("American States"));
    QTreeWidgetItem* wyoming = states->child(states->childCount() - 1);
    wyoming->setExpanded(true);
    QTreeWidgetItem* site = wyoming->child(0);
    MessageCapture messages;
    ModalDriver driver;
    driver.next<CAddModifyFavoriteDlg>(
        [](CAddModifyFavoriteDlg* dialog) { DialogControls::Button(dialog, IDOK)->click(); });
    rightClick(site);
    QVERIFY(!tree()->visualItemRect(favorites()).intersects(tree()->viewport()->rect()));
    MenuEntries::Find(m_menu->menu(), QStringLiteral("Add to My &Favorites"))->trigger();
    QVERIFY(driver.done());
    QTreeWidgetItem* added = TreeFixture::childNamed(favorites(), site->text(0));
    QVERIFY(added);
    QCOMPARE(tree()->currentItem(), added);
    QVERIFY(added->isSelected());
    QVERIFY(tree()->viewport()->rect().contains(tree()->visualItemRect(added)));
    QCOMPARE(m_fixture->navigations()->size(), 0);
}

void TreeFollowsTest::treeMenuEditAndDeleteShowAtOnce()
{
    MessageCapture messages;
    ModalDriver driver;
    driver.next<CAddModifyFavoriteDlg>([](CAddModifyFavoriteDlg* dialog) {
        DialogControls::Edit(dialog, IDC_FAVORITE_URL)->setText(QStringLiteral("https://alpha/"));
        DialogControls::Button(dialog, IDOK)->click();
    });
    rightClick(favorite("Alpha Daily"));
    MenuEntries::Find(m_menu->menu(), QStringLiteral("&Edit\u2026"))->trigger();
    QVERIFY(driver.done());
    QCOMPARE(tree()->urlOf(favorite("Alpha Daily")), QStringLiteral("https://alpha/"));

    rightClick(favorite("Zeta Weekly"));
    MenuEntries::Find(m_menu->menu(), QStringLiteral("&Delete\u2026"))->trigger();
    QCOMPARE(shown(), QStringList{"Alpha Daily|2"});
}

void TreeFollowsTest::importShowsTheNewFavorites()
{
    const QString bookmarks = m_fixture->folder().filePath(QStringLiteral("bookmarks.html"));
    QVERIFY(TestFiles::Write(bookmarks, "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n"
                                        "<DT><A HREF=\"http://gamma.example/\">Gamma</A>\n"
                                        "<DT><A HREF=\"http://zeta.example/\">Zeta</A>\n"
                                        "</DL>\n"));
    MessageCapture messages;
    QVERIFY(CBookmarksTransfer::Import(m_fixture->store(), bookmarks));
    QCOMPARE(shown(),
             (QStringList{"Alpha Daily|2", "Gamma|" + QString::number(tree()->nextIndex() - 1),
                          "Zeta Weekly|1"}));
}

void TreeFollowsTest::restoreShowsTheRestoredList()
{
    QVERIFY(TestFiles::Write(
        m_fixture->store().ManualBackupPath(),
        TestFiles::FavoritesXml(
            {{QStringLiteral("Alpha Daily"), QStringLiteral("http://alpha.example/")},
             {QStringLiteral("Old Times"), QStringLiteral("http://old/")}})));
    MessageCapture messages;
    ModalDriver driver;
    driver.next<CRestoreFavoritesDlg>(
        [](CRestoreFavoritesDlg* dialog) { dialog->restoreButton()->click(); });
    QVERIFY(CRestoreFavoritesDlg::Run(m_fixture->store()));
    QVERIFY(driver.done());
    QCOMPARE(shown(), (QStringList{"Alpha Daily|2",
                                   "Old Times|" + QString::number(tree()->nextIndex() - 1)}));
    QVERIFY(messages.texts().last().startsWith(QStringLiteral("My Favorites is restored")));
}

void TreeFollowsTest::anotherCopysAddShowsUp()
{
    m_fixture->store().Watch();
    QProcess writer;
    writer.start(QStringLiteral(KESTRIN_FAVORITES_WRITER),
                 {m_fixture->folder().path(), QStringLiteral("Other copy"), QStringLiteral("1")});
    QVERIFY(writer.waitForFinished(60000));
    QCOMPARE(writer.exitCode(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(favorite("Other copy 0"), 30000);
    QCOMPARE(tree()->urlOf(favorite("Other copy 0")),
             QStringLiteral("http://Other copy.example/0"));
    QCOMPARE(shown().size(), 3);
}

void TreeFollowsTest::catalogSelectionAndScrollStayPut()
{
    // A site in the middle of the catalog, chosen and scrolled to the top of the pane.
    QTreeWidgetItem* states = TreeFixture::childNamed(root(), QStringLiteral("American States"));
    QTreeWidgetItem* texas = TreeFixture::childNamed(states, QStringLiteral("[TX]Texas"));
    QVERIFY(texas);
    texas->setExpanded(true);
    QTreeWidgetItem* site = texas->child(3);
    tree()->setCurrentItem(site);
    QCOMPARE(m_fixture->navigations()->size(), 1);
    tree()->scrollToItem(texas, QAbstractItemView::PositionAtTop);
    const int top = tree()->visualItemRect(texas).top();
    const int siteTop = tree()->visualItemRect(site).top();

    MessageCapture messages;
    CFavoritesStore& store = m_fixture->store();
    QVERIFY(store.Update(CFavoritesStore::Add, QStringLiteral("Aardvark Gazette"),
                         QStringLiteral("http://aardvark/")));
    QVERIFY(store.Update(CFavoritesStore::Add, QStringLiteral("Beta Bugle"),
                         QStringLiteral("http://beta/")));
    QCOMPARE(tree()->visualItemRect(texas).top(), top);
    QVERIFY(store.Update(CFavoritesStore::Delete, QStringLiteral("Zeta Weekly"),
                         QStringLiteral("http://zeta.example/")));
    QCOMPARE(shown().size(), 3);

    QCOMPARE(tree()->currentItem(), site);
    QVERIFY(site->isSelected());
    QCOMPARE(tree()->selectedItems().size(), 1);
    QCOMPARE(tree()->visualItemRect(texas).top(), top);
    QCOMPARE(tree()->visualItemRect(site).top(), siteTop);
    QVERIFY(texas->isExpanded());
    QCOMPARE(m_fixture->navigations()->size(), 1);
    QVERIFY(messages.texts().isEmpty());
}

void TreeFollowsTest::favoritesThatStayKeepTheirIndicesAndTheOrderIsARebuilds()
{
    const int catalogIndex = m_site->data(0, CLeftView::kIndexRole).toInt();
    const QString catalogUrl = tree()->urlOf(m_site);
    const int next = tree()->nextIndex();
    // Names alike but for letter case keep the file's order among themselves.
    writeFavorites(TestFiles::FavoritesXml(
        {{QStringLiteral("Zeta Weekly"), QStringLiteral("http://zeta.example/")},
         {QStringLiteral("alpha daily"), QStringLiteral("http://second/")},
         {QStringLiteral("Alpha Daily"), QStringLiteral("http://alpha.example/")},
         {QStringLiteral("Mid"), QStringLiteral("http://mid/")}}));
    QList<FavoriteRecord> records;
    QVERIFY(m_fixture->store().ReadChecked(records));
    tree()->UpdateFavorites(records);
    const QStringList updated = shown();
    QCOMPARE(updated, (QStringList{"alpha daily|" + QString::number(next), "Alpha Daily|2",
                                   "Mid|" + QString::number(next + 1), "Zeta Weekly|1"}));
    QCOMPARE(tree()->urlOf(favorite("Mid")), QStringLiteral("http://mid/"));
    // The catalog keeps its indices and addresses.
    QCOMPARE(m_site->data(0, CLeftView::kIndexRole).toInt(), catalogIndex);
    QCOMPARE(tree()->urlOf(m_site), catalogUrl);
    QCOMPARE(tree()->FavoriteOrdinal(favorite("Mid")), 3);

    // A rebuild shows the same branch, numbered from 1 in file order again.
    tree()->RebuildTree(CatalogView::ByArea);
    m_national = nullptr;
    QCOMPARE(shown(), (QStringList{"alpha daily|2", "Alpha Daily|3", "Mid|4", "Zeta Weekly|1"}));
}

void TreeFollowsTest::deleteOrEditOfAFavoriteGoneMeanwhileSaysSo()
{
    // Both went behind the program's back, and it has not looked since.
    writeFavorites(
        TestFiles::FavoritesXml({{QStringLiteral("Kept"), QStringLiteral("http://kept/")}}));
    MessageCapture messages;
    rightClick(favorite("Zeta Weekly"));
    MenuEntries::Find(m_menu->menu(), QStringLiteral("&Delete\u2026"))->trigger();
    QCOMPARE(messages.texts(),
             (QStringList{QStringLiteral("Delete the favorite \u201cZeta Weekly\u201d?"), kGone}));
    // The tree shows what the file holds now.
    QCOMPARE(shown().size(), 1);
    QVERIFY(favorite("Kept"));

    QVERIFY(m_fixture->store().Update(CFavoritesStore::Add, QStringLiteral("Fleeting"),
                                      QStringLiteral("http://fleeting/")));
    QVERIFY(favorite("Fleeting"));
    writeFavorites(
        TestFiles::FavoritesXml({{QStringLiteral("Kept"), QStringLiteral("http://kept/")}}));
    const QByteArray kept = TestFiles::Read(m_fixture->folder().favoritesPath());
    messages.clear();
    ModalDriver driver;
    driver.next<CAddModifyFavoriteDlg>([](CAddModifyFavoriteDlg* dialog) {
        DialogControls::Edit(dialog, IDC_FAVORITE_NAME)->setText(QStringLiteral("Lasting"));
        DialogControls::Button(dialog, IDOK)->click();
        // Told, and the dialog stays for a Cancel.
        QVERIFY(dialog->isVisible());
        dialog->reject();
    });
    rightClick(favorite("Fleeting"));
    MenuEntries::Find(m_menu->menu(), QStringLiteral("&Edit\u2026"))->trigger();
    QVERIFY(driver.done());
    QCOMPARE(messages.texts(), QStringList{kGone});
    QCOMPARE(TestFiles::Read(m_fixture->folder().favoritesPath()), kept);
    QVERIFY(!favorite("Fleeting"));
}

KESTRIN_TEST_MAIN(TreeFollowsTest)
#include "tst_treefollows.moc"
