// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FavoritesTestCase.h"
#include "favorites/ui/CAddModifyFavoriteDlg.h"
#include "favorites/ui/CEditMyFavoriteDlg.h"
#include "favorites/ui/CFolderCommands.h"
#include "res/Resource.h"
#include "support/DialogControls.h"
#include "support/MessageCapture.h"
#include "support/ModalDriver.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"
#include "support/ViewRows.h"

#include <QComboBox>
#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QByteArray kFolders =
    "<Favorites>"
    "<Favorite><title>Zeta</title><url>http://zeta/</url></Favorite>"
    "<Folder><title>States</title><Folder><title>Ohio</title>"
    "<Favorite><title>Plain Dealer</title><url>http://dealer/</url></Favorite></Folder></Folder>"
    "<Favorite><title>Beta</title><url>http://beta/</url></Favorite>"
    "</Favorites>";

QComboBox* FolderList(const Dialog* dialog)
{
    return dialog->findChild<QComboBox*>(QStringLiteral("ctl%1").arg(IDC_FAVORITE_FOLDER));
}

} // namespace

// The dialogs with folders: the Add dialog's Folder list and its question for an address
// that is there already, the editor's search, sorting, New Folder and Move….
class FolderDialogsTest : public FavoritesTestCase
{
    Q_OBJECT

private slots:
    void addChoosesAFolderAndRemembersIt()
    {
        QVERIFY(folder().writeFavoritesXml(kFolders));
        MessageCapture messages;
        for (const QString& name : {QStringLiteral("Columbus"), QStringLiteral("Toledo")}) {
            ModalDriver driver;
            CAddModifyFavoriteDlg dialog(store());
            driver.next<CAddModifyFavoriteDlg>([&](CAddModifyFavoriteDlg* shown) {
                QComboBox* list = FolderList(shown);
                QCOMPARE(list->accessibleName(), QStringLiteral("Folder"));
                QCOMPARE(list->count(), 3);
                QCOMPARE(list->itemText(2), QStringLiteral("        Ohio"));
                // The second time, the folder used last is chosen already.
                if (name == QStringLiteral("Columbus")) {
                    QCOMPARE(list->currentIndex(), 0);
                    list->setCurrentIndex(2);
                } else {
                    QCOMPARE(list->currentIndex(), 2);
                }
                DialogControls::Edit(shown, IDC_FAVORITE_NAME)->setText(name);
                DialogControls::Edit(shown, IDC_FAVORITE_URL)
                    ->setText(QStringLiteral("http://%1/").arg(name));
                DialogControls::Button(shown, IDOK)->click();
            });
            QCOMPARE(dialog.DoModal(), IDOK);
            QVERIFY(driver.done());
        }
        QList<FavoriteRecord> records;
        QVERIFY(store().ReadAll(records));
        QCOMPARE(records.at(3).title, QStringLiteral("Toledo"));
        QCOMPARE(records.at(3).folder, (QStringList{"States", "Ohio"}));
    }

    void anAddressThereUnderAnotherNameIsAskedAbout()
    {
        QVERIFY(folder().writeFavoritesXml(kFolders));
        QList<FavoriteRecord> records;
        QVERIFY(store().ReadAll(records));
        QCOMPARE(CAddModifyFavoriteDlg::SameAddressQuestion(records, QStringLiteral("Cleveland"),
                                                            QStringLiteral(" http://dealer/")),
                 QStringLiteral("This address is already in My Favorites as \u201cPlain "
                                "Dealer\u201d in \u201cStates \u203a Ohio\u201d. Add it again?"));
        QCOMPARE(CAddModifyFavoriteDlg::SameAddressQuestion(records, QStringLiteral("Other"),
                                                            QStringLiteral("http://zeta/")),
                 QStringLiteral("This address is already in My Favorites as \u201cZeta\u201d. Add "
                                "it again?"));
        // The same name and address is the store's duplicate; a new address asks nothing.
        QVERIFY(CAddModifyFavoriteDlg::SameAddressQuestion(records, QStringLiteral("Zeta"),
                                                           QStringLiteral("http://zeta/"))
                    .isEmpty());
        QVERIFY(CAddModifyFavoriteDlg::SameAddressQuestion(records, QStringLiteral("New"),
                                                           QStringLiteral("http://new/"))
                    .isEmpty());

        MessageCapture messages;
        messages.answer(IDNO);
        ModalDriver driver;
        CAddModifyFavoriteDlg dialog(store());
        driver.next<CAddModifyFavoriteDlg>([&](CAddModifyFavoriteDlg* shown) {
            DialogControls::Edit(shown, IDC_FAVORITE_NAME)->setText(QStringLiteral("Z again"));
            DialogControls::Edit(shown, IDC_FAVORITE_URL)->setText(QStringLiteral("http://zeta/"));
            DialogControls::Button(shown, IDOK)->click();
            // No: the dialog stays open, as typed.
            QVERIFY(shown->isVisible());
            DialogControls::Button(shown, IDOK)->click();
        });
        QCOMPARE(dialog.DoModal(), IDOK);
        QVERIFY(driver.done());
        QCOMPARE(messages.texts().size(), 3);
        QCOMPARE(messages.texts().constLast(), QStringLiteral("Successfully!"));
        QCOMPARE(readRows().constLast(), QStringLiteral("Z again|http://zeta/"));
    }

    void editorSearchesSortsAndMovesWithoutTouchingTheFileOrder()
    {
        QVERIFY(folder().writeFavoritesXml(kFolders));
        MessageCapture messages;
        ModalDriver driver;
        CEditMyFavoriteDlg editor(store());
        QTreeView* list = editor.list();
        const auto shown = [list] { return ViewRows::Indented(list, 1); };
        driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg* dialog) {
            // In file order, the folder closed.
            QCOMPARE(shown(), (QStringList{"Zeta", "States", "Beta"}));
            auto* search = DialogControls::Edit(dialog, IDC_FAVORITE_SEARCH);
            QCOMPARE(search->accessibleName(), QStringLiteral("Search favorites"));
            QTest::keyClicks(search, QStringLiteral("ETA"));
            QCOMPARE(shown(), (QStringList{"Zeta", "Beta"}));
            // A folder found by its name shows what it holds; the folders on the way open.
            search->setText(QStringLiteral("ohio"));
            QCOMPARE(shown(), (QStringList{"States", "  Ohio", "    Plain Dealer"}));
            search->setText(QStringLiteral("dealer/"));
            QCOMPARE(shown(), (QStringList{"States", "  Ohio", "    Plain Dealer"}));
            search->clear();
            QCOMPARE(shown(), (QStringList{"Zeta", "States", "Beta"}));
            // Folders first, then by name.
            list->sortByColumn(1, Qt::AscendingOrder);
            QCOMPARE(shown(), (QStringList{"States", "Beta", "Zeta"}));

            // Beta and Zeta into Ohio, in one change; the view keeps its order.
            ViewRows::Select(list, 1);
            list->selectionModel()->setCurrentIndex(
                ViewRows::Row(list, 2), QItemSelectionModel::Select | QItemSelectionModel::Rows);
            DialogControls::Button(dialog, IDC_MOVE_FAVORITES)->click();
        });
        driver.next<QDialog>([](QDialog* move) {
            auto* folder = move->findChild<QComboBox*>(QStringLiteral("folder"));
            folder->setCurrentIndex(2);
            move->accept();
        });
        driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg* dialog) {
            // Still selected where they went, and in sight.
            QCOMPARE(shown(),
                     (QStringList{"States", "  Ohio", "    Beta", "    Plain Dealer", "    Zeta"}));
            QCOMPARE(ViewRows::Selected(list), (QList<int>{2, 4}));
            QCOMPARE(ViewRows::Column(list, 2).first(), QStringLiteral("3 favorites"));
            DialogControls::Button(dialog, IDC_NEW_FOLDER)->click();
        });
        driver.next<QInputDialog>([](QInputDialog* name) {
            name->setTextValue(QStringLiteral("Cities"));
            name->accept();
        });
        driver.next<CEditMyFavoriteDlg>([](CEditMyFavoriteDlg* dialog) { dialog->reject(); });
        editor.DoModal();
        QVERIFY(driver.done());
        QList<FavoriteRecord> records;
        QList<QStringList> folders;
        QVERIFY(store().ReadAll(records, folders));
        QCOMPARE(readRows(), (QStringList{"Plain Dealer|http://dealer/", "Zeta|http://zeta/",
                                          "Beta|http://beta/"}));
        QVERIFY(folders.contains(QStringList({"States", "Ohio", "Cities"})));
    }

    void deleteOfAFolderNamesItAndCountsWhatGoes()
    {
        QCOMPARE(CFolderCommands::DeleteQuestion({"A", "Local"}, 0),
                 QStringLiteral("Delete the folder \u201cLocal\u201d?"));
        QCOMPARE(CFolderCommands::DeleteQuestion({"Local"}, 1),
                 QStringLiteral("Delete the folder \u201cLocal\u201d and the favorite it holds?"));
        QCOMPARE(
            CFolderCommands::DeleteQuestion({"Local"}, 12),
            QStringLiteral("Delete the folder \u201cLocal\u201d and the 12 favorites it holds?"));
    }
};

KESTRIN_TEST_MAIN(FolderDialogsTest)
#include "tst_folderdialogs.moc"
