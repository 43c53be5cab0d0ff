// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FavoritesTestCase.h"
#include "favorites/ui/CAddModifyFavoriteDlg.h"
#include "favorites/ui/CEditMyFavoriteDlg.h"
#include "platform/MessageBox.h"
#include "res/Resource.h"
#include "support/DialogControls.h"
#include "support/MessageCapture.h"
#include "support/ModalDriver.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"
#include "support/ViewRows.h"

#include <QAction>
#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <memory>

namespace {
// Folders inside folders, favorites before, between and after them, an empty folder.
const QByteArray kNested =
    "<Favorites>"
    "<Favorite><title>A</title><url>http://a/</url></Favorite>"
    "<Folder><title>News</title>"
    "<Favorite><title>B</title><url>http://b/</url></Favorite>"
    "<Folder><title>Local</title>"
    "<Favorite><title>C</title><url>http://c/</url></Favorite>"
    "<Folder><title>Deep</title>"
    "<Favorite><title>D</title><url>http://d.example/</url></Favorite></Folder></Folder>"
    "<Favorite><title>E</title><url>http://e/</url></Favorite></Folder>"
    "<Folder><title>Empty</title></Folder>"
    "<Favorite><title>F</title><url>http://f/</url></Favorite>"
    "</Favorites>";

QStringList shown(const QTreeView* list)
{
    return ViewRows::Indented(list, 1);
}

void clickHeader(QTreeView* list, int column)
{
    QHeaderView* header = list->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 10, header->height() / 2));
}

QStringList titles(const QList<FavoriteRecord>& records)
{
    QStringList result;
    for (const FavoriteRecord& record : records)
        result.append(record.title);
    return result;
}
} // namespace

// The editor's tree: folders in their places, search, sorting of the view and of a folder in
// the file, the keys on folders and favorites.
class FavoritesEditorTest : public FavoritesTestCase
{
    Q_OBJECT

private slots:
    void foldersHoldTheirRowsInFileOrderAndStayOpenAcrossChanges()
    {
        QVERIFY(folder().writeFavoritesXml(kNested));
        ModalDriver driver;
        CEditMyFavoriteDlg editor(store());
        QTreeView* list = editor.list();
        driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg* dialog) {
            QCOMPARE(shown(list), (QStringList{"A", "News", "Empty", "F"}));
            list->expandAll();
            QCOMPARE(shown(list), (QStringList{"A", "News", "  B", "  Local", "    C", "    Deep",
                                               "      D", "  E", "Empty", "F"}));
            // Favorites numbered in the file's order; folders say what they hold, deep down.
            QCOMPARE(ViewRows::Column(list, 0),
                     (QStringList{"000001", "", "000002", "", "000003", "", "000004", "000005", "",
                                  "000006"}));
            QCOMPARE(ViewRows::Column(list, 2),
                     (QStringList{"http://a/", "4 favorites", "http://b/", "2 favorites",
                                  "http://c/", "1 favorite", "http://d.example/", "http://e/",
                                  "0 favorites", "http://f/"}));
            const QModelIndex news = ViewRows::Row(list, 1).siblingAtColumn(1);
            QVERIFY(!news.data(Qt::DecorationRole).value<QIcon>().isNull());
            QCOMPARE(news.data(Qt::AccessibleTextRole).toString(), QStringLiteral("Folder News"));

            // Only News open; the folder Local and the favorite C selected, C in hand.
            list->collapseAll();
            list->expand(ViewRows::Row(list, 1));
            QCOMPARE(shown(list),
                     (QStringList{"A", "News", "  B", "  Local", "  E", "Empty", "F"}));
            ViewRows::Select(list, 3);
            QVERIFY(!DialogControls::Button(dialog, IDC_EDIT_FAVORITE)->isEnabled());
            list->expand(ViewRows::Row(list, 3));
            list->selectionModel()->setCurrentIndex(
                ViewRows::Row(list, 4), QItemSelectionModel::Select | QItemSelectionModel::Rows);
            // A favorite added elsewhere (the tree's menu): the editor follows, as it was.
            QVERIFY(store().AddTo({}, QStringLiteral("H"), QStringLiteral("http://h/")));
            QCOMPARE(shown(list), (QStringList{"A", "News", "  B", "  Local", "    C", "    Deep",
                                               "  E", "Empty", "F", "H"}));
            QCOMPARE(ViewRows::Selected(list), (QList<int>{3, 4}));
            QCOMPARE(ViewRows::Current(list), 4);
            dialog->reject();
        });
        editor.DoModal();
        QVERIFY(driver.done());
    }

    void searchFindsAFavoriteDeepDownAndHidesTheRest()
    {
        QVERIFY(folder().writeFavoritesXml(kNested));
        ModalDriver driver;
        CEditMyFavoriteDlg editor(store());
        QTreeView* list = editor.list();
        driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg* dialog) {
            auto* search = DialogControls::Edit(dialog, IDC_FAVORITE_SEARCH);
            QTest::keyClicks(search, QStringLiteral("D.EXAMPLE"));
            QCOMPARE(shown(list), (QStringList{"News", "  Local", "    Deep", "      D"}));
            // A folder's name finds it with all it holds.
            search->setText(QStringLiteral("loc"));
            QCOMPARE(shown(list), (QStringList{"News", "  Local", "    C", "    Deep", "      D"}));
            search->setText(QStringLiteral("nowhere"));
            QCOMPARE(shown(list), QStringList());
            // Cleared, the folders are as the user left them: closed.
            search->clear();
            QCOMPARE(shown(list), (QStringList{"A", "News", "Empty", "F"}));
            dialog->reject();
        });
        editor.DoModal();
        QVERIFY(driver.done());
    }

    void headerSortOrdersTheViewOnly()
    {
        QVERIFY(folder().writeFavoritesXml(kNested));
        const QByteArray before = TestFiles::Read(favoritesPath());
        ModalDriver driver;
        CEditMyFavoriteDlg editor(store());
        QTreeView* list = editor.list();
        driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg* dialog) {
            list->expand(ViewRows::Row(list, 1));
            clickHeader(list, 1);
            // Folders stay first either way, inside folders too.
            QCOMPARE(shown(list),
                     (QStringList{"Empty", "News", "  Local", "  B", "  E", "A", "F"}));
            clickHeader(list, 1);
            QCOMPARE(shown(list),
                     (QStringList{"News", "  Local", "  E", "  B", "Empty", "F", "A"}));
            clickHeader(list, 0);
            QCOMPARE(shown(list),
                     (QStringList{"A", "News", "  B", "  Local", "  E", "Empty", "F"}));
            dialog->reject();
        });
        editor.DoModal();
        QVERIFY(driver.done());
        QCOMPARE(TestFiles::Read(favoritesPath()), before);
    }

    void sortFolderByNameReordersThatFolderInTheFile()
    {
        QVERIFY(folder().writeFavoritesXml(
            "<Favorites>"
            "<Favorite><title>Zeta</title><url>http://zeta/</url></Favorite>"
            "<Folder><title>Mixed</title>"
            "<Favorite><title>b</title><url>http://b/</url></Favorite>"
            "<Folder><title>Sub</title>"
            "<Favorite><title>z</title><url>http://z/</url></Favorite>"
            "<Favorite><title>y</title><url>http://y/</url></Favorite></Folder>"
            "<Favorite><title>a</title><url>http://a/</url></Favorite>"
            "<Favorite><title>C</title><url>http://c/</url></Favorite></Folder>"
            "<Favorite><title>Alpha</title><url>http://alpha/</url></Favorite>"
            "</Favorites>"));
        MessageCapture messages;
        ModalDriver driver;
        CEditMyFavoriteDlg editor(store());
        QTreeView* list = editor.list();
        driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg*) {
            const std::unique_ptr<QMenu> onFavorite(editor.ContextMenuFor(ViewRows::Row(list, 0)));
            QCOMPARE(onFavorite->actions().size(), 1);
            QCOMPARE(onFavorite->actions().first()->text(), QStringLiteral("Move to Folder\u2026"));
            const std::unique_ptr<QMenu> menu(editor.ContextMenuFor(ViewRows::Row(list, 1)));
            QStringList texts;
            for (const QAction* action : menu->actions())
                texts.append(action->text());
            QCOMPARE(texts, (QStringList{"Sort Folder by Name", "New Folder\u2026", "Rename\u2026",
                                         "Delete\u2026"}));
            menu->actions().first()->trigger();
            list->expandAll();
            QCOMPARE(shown(list), (QStringList{"Zeta", "Mixed", "  Sub", "    z", "    y", "  a",
                                               "  b", "  C", "Alpha"}));
            editor.reject();
        });
        editor.DoModal();
        QVERIFY(driver.done());
        QVERIFY(messages.texts().isEmpty());
        // Mixed alone, folders first; what lies around and inside it keeps its order.
        QList<FavoriteRecord> records;
        QList<QStringList> folders;
        QList<qsizetype> places;
        QVERIFY(store().ReadAll(records, folders, &places));
        QCOMPARE(titles(records), (QStringList{"Zeta", "z", "y", "a", "b", "C", "Alpha"}));
        QCOMPARE(places, (QList<qsizetype>{1, 1}));
    }

    void keysActOnFavoritesAndFolders()
    {
        QVERIFY(folder().writeFavoritesXml(kNested));
        MessageCapture messages;
        messages.answer(IDYES);
        messages.answer(IDYES);
        ModalDriver driver;
        CEditMyFavoriteDlg editor(store());
        QTreeView* list = editor.list();
        driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg*) {
            list->expand(ViewRows::Row(list, 1));
            ViewRows::Select(list, 3);
            QTest::keyClick(list, Qt::Key_F2);
        });
        driver.next<QInputDialog>([](QInputDialog* name) {
            QCOMPARE(name->textValue(), QStringLiteral("Local"));
            name->setTextValue(QStringLiteral("City"));
            name->accept();
        });
        driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg*) {
            QCOMPARE(shown(list), (QStringList{"A", "News", "  B", "  City", "  E", "Empty", "F"}));
            // Still the one in hand: Delete asks for it, naming what goes with it.
            QTest::keyClick(list, Qt::Key_Delete);
            QCOMPARE(shown(list), (QStringList{"A", "News", "  B", "  E", "Empty", "F"}));
            ViewRows::Select(list, 0);
            QTest::keyClick(list, Qt::Key_Delete);
            QCOMPARE(shown(list), (QStringList{"News", "  B", "  E", "Empty", "F"}));
            ViewRows::Select(list, 1);
            QTest::keyClick(list, Qt::Key_F2);
        });
        driver.next<CAddModifyFavoriteDlg>([](CAddModifyFavoriteDlg* dialog) {
            QCOMPARE(DialogControls::Edit(dialog, IDC_FAVORITE_NAME)->text(), QStringLiteral("B"));
            dialog->reject();
        });
        driver.next<CEditMyFavoriteDlg>([](CEditMyFavoriteDlg* dialog) { dialog->reject(); });
        editor.DoModal();
        QVERIFY(!driver.timedOut());
        QVERIFY(driver.done());
        QCOMPARE(messages.texts(),
                 (QStringList{"Delete the folder \u201cCity\u201d and the 2 favorites it holds?",
                              "Delete the favorite \u201cA\u201d?", "Successfully!"}));
        QCOMPARE(readRows(), (QStringList{"B|http://b/", "E|http://e/", "F|http://f/"}));
    }
};

KESTRIN_TEST_MAIN(FavoritesEditorTest)
#include "tst_favoriteseditor.moc"
