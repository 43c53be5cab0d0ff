// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FavoritesTestCase.h"
#include "favorites/CXmlTestSeam.h"
#include "favorites/ui/CAddModifyFavoriteDlg.h"
#include "favorites/ui/CEditMyFavoriteDlg.h"
#include "favorites/ui/FavoritesMessages.h"
#include "res/Resource.h"
#include "support/DialogControls.h"
#include "support/MessageCapture.h"
#include "support/ModalDriver.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"
#include "support/ViewRows.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

namespace {
const QString kNotThere = QStringLiteral(
    "This favorite is no longer in My Favorites as shown: it was changed or deleted since. "
    "Nothing was changed.");
const QString kTaken =
    QStringLiteral("Another favorite already has this name and address. Nothing was changed.");

FavoriteRef ref(long ordinal, const char* title, const char* url)
{
    return {ordinal, {QString::fromUtf8(title), QString::fromUtf8(url)}};
}

QStringList names(const QTreeView* list)
{
    QStringList result;
    for (const QModelIndex& row : ViewRows::Shown(list))
        result.append(row.data().toString() + QLatin1Char(' ') +
                      row.siblingAtColumn(1).data().toString());
    return result;
}

} // namespace

class FavoriteEditsTest : public FavoritesTestCase
{
    Q_OBJECT

private:
    [[nodiscard]] QStringList leftovers() const { return folder().entries(); }
    void writeFiveFavorites()
    {
        writeFavorites({{QStringLiteral("A"), QStringLiteral("http://a/")},
                        {QStringLiteral("B"), QStringLiteral("http://b/")},
                        {QStringLiteral("C"), QStringLiteral("http://c/")},
                        {QStringLiteral("D"), QStringLiteral("http://d/")},
                        {QStringLiteral("E"), QStringLiteral("http://e/")}});
    }

private slots:
    void editReplacesTheRecordWhereItStands()
    {
        // A child of the root that is no Favorite keeps its place among the records too.
        QVERIFY(TestFiles::Write(
            favoritesPath(),
            "<Favorites><Favorite><title>A</title><url>http://a/</url></Favorite>"
            "<Note><title>N</title><url>http://n/</url></Note>"
            "<Favorite><title>B</title><url>http://b/</url></Favorite>"
            "<Favorite><title>C</title><url>http://c/</url></Favorite></Favorites>"));
        QVERIFY(store().Edit(ref(1, "B", "http://b/"), QStringLiteral("  B two\t"),
                             QStringLiteral(" https://b2/ ")));
        QCOMPARE(readRows(), (QStringList{"A|http://a/", "B two|https://b2/", "C|http://c/"}));
        const QByteArray saved = TestFiles::Read(favoritesPath());
        QVERIFY(saved.indexOf("<Note>") < saved.indexOf("B two"));

        // Empty after trimming: refused without a word, as Save in the dialog is.
        QVERIFY(!store().Edit(ref(1, "B two", "https://b2/"), QStringLiteral(" "),
                              QStringLiteral("https://b3/")));
        QCOMPARE(TestFiles::Read(favoritesPath()), saved);
    }

    void editRefusesATakenPairAndAVanishedRecord()
    {
        writeFavorites({{QStringLiteral("A"), QStringLiteral("http://a/")},
                        {QStringLiteral("B"), QStringLiteral("http://b/")}});
        const QByteArray before = TestFiles::Read(favoritesPath());
        const FavoritesResult taken = store().Edit(ref(1, "B", "http://b/"), QStringLiteral("A"),
                                                   QStringLiteral("http://a/"));
        const FavoritesResult gone = store().Edit(
            ref(1, "Gone", "http://gone/"), QStringLiteral("New"), QStringLiteral("http://new/"));
        QCOMPARE(taken.code, Code::Taken);
        QCOMPARE(gone.code, Code::Gone);
        QCOMPARE(FavoritesMessages::Text(taken), kTaken);
        QCOMPARE(FavoritesMessages::Text(gone), kNotThere);

        // Saving the values it holds already is no change: nothing is written.
        QCOMPARE(
            store()
                .Edit(ref(0, "A", "http://a/"), QStringLiteral("A "), QStringLiteral("http://a/"))
                .code,
            Code::Unchanged);
        QCOMPARE(TestFiles::Read(favoritesPath()), before);
        QCOMPARE(leftovers(), QStringList{QStringLiteral("Favorites.xml")});
    }

    void editOfIdenticalTwinsChangesTheOneChosen()
    {
        writeFavorites({{QStringLiteral("Twin"), QStringLiteral("http://twin/")},
                        {QStringLiteral("Other"), QStringLiteral("http://other/")},
                        {QStringLiteral("Twin"), QStringLiteral("http://twin/")}});
        QVERIFY(store().Edit(ref(2, "Twin", "http://twin/"), QStringLiteral("Second"),
                             QStringLiteral("http://twin/")));
        QCOMPARE(readRows(),
                 (QStringList{"Twin|http://twin/", "Other|http://other/", "Second|http://twin/"}));
        // The list was older than the file: the record is found where it is now.
        QVERIFY(store().Edit(ref(2, "Other", "http://other/"), QStringLiteral("Moved"),
                             QStringLiteral("http://other/")));
        QCOMPARE(readRows(),
                 (QStringList{"Twin|http://twin/", "Moved|http://other/", "Second|http://twin/"}));
    }

    void failedSaveOfAnEditChangesNothingAndKeepsNoBackup()
    {
        writeFavorites({{QStringLiteral("Short"), QStringLiteral("http://short/")}});
        const QByteArray before = TestFiles::Read(favoritesPath());
        // The backup (the old bytes) fits, the longer new file does not.
        CXmlTestSeam::SetFailures({xml::S_OK, {}, -1, before.size() + 1});
        const FavoritesResult failed = store().Edit(
            ref(0, "Short", "http://short/"), QStringLiteral("A much longer name than before"),
            QStringLiteral("http://short/"));
        const QString text = FavoritesMessages::Text(failed);
        QVERIFY2(text.contains(favoritesPath()) &&
                     text.contains(QStringLiteral("No space left on device")),
                 qPrintable(text));
        QCOMPARE(TestFiles::Read(favoritesPath()), before);
        QCOMPARE(leftovers(), QStringList{QStringLiteral("Favorites.xml")});

        // With room again the same edit goes through, after a backup of the old list.
        CXmlTestSeam::SetFailures({});
        QVERIFY(store().Edit(ref(0, "Short", "http://short/"),
                             QStringLiteral("A much longer name than before"),
                             QStringLiteral("http://short/")));
        const QStringList backups =
            QDir(path(QStringLiteral("backups"))).entryList({QStringLiteral("*.xml")}, QDir::Files);
        QCOMPARE(backups.size(), 1);
        QCOMPARE(TestFiles::Read(path(QStringLiteral("backups/")) + backups.first()), before);
    }

    void severalRecordsGoInOneChange()
    {
        writeFiveFavorites();
        // All or nothing: a save that fails leaves every one of them.
        CXmlTestSeam::SetFailures({xml::S_OK, {}, -1, 20});
        QVERIFY(!store().DeleteRecords({ref(1, "B", "http://b/"), ref(3, "D", "http://d/")}));
        QCOMPARE(readRows().size(), 5);
        CXmlTestSeam::SetFailures({});
        QVERIFY(store().DeleteRecords(
            {ref(1, "B", "http://b/"), ref(7, "Gone", "http://gone/"), ref(3, "D", "http://d/")}));
        QCOMPARE(readRows(), (QStringList{"A|http://a/", "C|http://c/", "E|http://e/"}));
        // None of them there any more: said so, and nothing is written.
        const QByteArray after = TestFiles::Read(favoritesPath());
        QCOMPARE(store().DeleteRecords({ref(1, "B", "http://b/")}).code, Code::Gone);
        QCOMPARE(TestFiles::Read(favoritesPath()), after);
    }

    void editButtonAndF2ChangeTheRowInPlace()
    {
        writeFavorites({{QStringLiteral("First"), QStringLiteral("http://first/")},
                        {QStringLiteral("Second"), QStringLiteral("http://second/")},
                        {QStringLiteral("Third"), QStringLiteral("http://third/")}});
        MessageCapture messages;
        ModalDriver driver;
        CEditMyFavoriteDlg editor(store());
        QTreeView* list = editor.list();

        driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg* dialog) {
            // The keys work at once: the list has the focus and its first row.
            QCOMPARE(QApplication::focusWidget(), list);
            QCOMPARE(ViewRows::Selected(list), QList<int>{0});
            QVERIFY(DialogControls::Button(dialog, IDC_EDIT_FAVORITE)->isEnabled());
            // Several rows: Edit could only guess which, so it and F2 do nothing.
            ViewRows::Click(list, 1, Qt::ControlModifier);
            QVERIFY(!DialogControls::Button(dialog, IDC_EDIT_FAVORITE)->isEnabled());
            QTest::keyClick(list, Qt::Key_F2);
            QVERIFY(!QApplication::activeModalWidget() ||
                    QApplication::activeModalWidget() == dialog);
            list->clearSelection();
            QVERIFY(!DialogControls::Button(dialog, IDC_EDIT_FAVORITE)->isEnabled());
            ViewRows::Click(list, 1);
            QVERIFY(DialogControls::Button(dialog, IDC_EDIT_FAVORITE)->isEnabled());
            DialogControls::Button(dialog, IDC_EDIT_FAVORITE)->click();
        });
        driver.next<CAddModifyFavoriteDlg>([&](CAddModifyFavoriteDlg* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Modify My Favorites"));
            QLineEdit* name = DialogControls::Edit(dialog, IDC_FAVORITE_NAME);
            QCOMPARE(name->text(), QStringLiteral("Second"));
            QCOMPARE(name->selectedText(), QStringLiteral("Second"));
            QCOMPARE(QApplication::focusWidget(), name);
            QCOMPARE(DialogControls::Edit(dialog, IDC_FAVORITE_URL)->text(),
                     QStringLiteral("http://second/"));
            QVERIFY(DialogControls::Edit(dialog, IDC_FAVORITE_URL)->isEnabled());
            QVERIFY(!DialogControls::Button(dialog, IDC_DELETE)->isEnabled());
            QTest::keyClicks(name, QStringLiteral("Second, renamed"));
            DialogControls::Edit(dialog, IDC_FAVORITE_URL)
                ->setText(QStringLiteral("https://second.example/"));
            DialogControls::Button(dialog, IDOK)->click();
        });
        driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg*) {
            QCOMPARE(names(list),
                     (QStringList{"000001 First", "000002 Second, renamed", "000003 Third"}));
            // The edited row stays the one in hand.
            QCOMPARE(ViewRows::Selected(list), QList<int>{1});
            QCOMPARE(ViewRows::Current(list), 1);
            ViewRows::Click(list, 2);
            QTest::keyClick(list, Qt::Key_F2);
        });
        driver.next<CAddModifyFavoriteDlg>([&](CAddModifyFavoriteDlg* dialog) {
            QCOMPARE(DialogControls::Edit(dialog, IDC_FAVORITE_NAME)->text(),
                     QStringLiteral("Third"));
            DialogControls::Edit(dialog, IDC_FAVORITE_NAME)->setText(QStringLiteral("First"));
            DialogControls::Edit(dialog, IDC_FAVORITE_URL)
                ->setText(QStringLiteral("http://first/"));
            DialogControls::Button(dialog, IDOK)->click();
            // Taken by another favorite: the dialog stays for another try.
            QVERIFY(dialog->isVisible());
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg* dialog) { dialog->close(); });

        QCOMPARE(editor.DoModal(), int(IDCANCEL));
        QVERIFY(!driver.timedOut());
        QVERIFY(driver.done());
        QCOMPARE(messages.texts(), (QStringList{"Successfully!", kTaken}));
        QCOMPARE(readRows(),
                 (QStringList{"First|http://first/", "Second, renamed|https://second.example/",
                              "Third|http://third/"}));
    }

    void deleteKeyAsksOnceForAllSelectedRows()
    {
        writeFiveFavorites();
        MessageCapture messages;
        messages.answer(IDNO);
        ModalDriver driver;
        CEditMyFavoriteDlg editor(store());
        QTreeView* list = editor.list();

        driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg*) {
            ViewRows::Click(list, 1);
            ViewRows::Click(list, 3, Qt::ControlModifier);
            ViewRows::Click(list, 4, Qt::ControlModifier);
            QTest::keyClick(list, Qt::Key_Delete);
            // No: nothing happened.
            QCOMPARE(ViewRows::Shown(list).size(), 5);
            QTest::keyClick(list, Qt::Key_Delete);
            QCOMPARE(names(list), (QStringList{"000001 A", "000002 C"}));
            ViewRows::Click(list, 0);
            QTest::keyClick(list, Qt::Key_Delete);
            QCOMPARE(names(list), (QStringList{"000001 C"}));
            editor.close();
        });
        QCOMPARE(editor.DoModal(), int(IDCANCEL));
        QVERIFY(!driver.timedOut());
        QVERIFY(driver.done());
        QCOMPARE(messages.texts(),
                 (QStringList{"Delete these 3 favorites?", "Delete these 3 favorites?",
                              "Successfully!", "Delete the favorite “A”?", "Successfully!"}));
        QCOMPARE(readRows(), QStringList{"C|http://c/"});
    }

    void openEditorFollowsAnotherCopyKeepingTheSelection()
    {
        writeFiveFavorites();
        store().Watch();
        ModalDriver driver;
        CEditMyFavoriteDlg editor(store());
        QTreeView* list = editor.list();
        driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg*) {
            ViewRows::Click(list, 2);
            ViewRows::Click(list, 3, Qt::ControlModifier);
            // Another copy of the program deletes A and adds F.
            CFavoritesStore other(favoritesPath());
            QVERIFY(other.Update(CFavoritesStore::Delete, QStringLiteral("A"),
                                 QStringLiteral("http://a/")));
            QVERIFY(other.Update(CFavoritesStore::Add, QStringLiteral("F"),
                                 QStringLiteral("http://f/")));
            QTRY_COMPARE_WITH_TIMEOUT(ViewRows::Shown(list).size(), 5, 30000);
            QTRY_COMPARE_WITH_TIMEOUT(names(list).last(), QStringLiteral("000005 F"), 30000);
            QCOMPARE(names(list).first(), QStringLiteral("000001 B"));
            QCOMPARE(ViewRows::Selected(list), (QList<int>{1, 2}));
            QCOMPARE(list->currentIndex().siblingAtColumn(1).data().toString(),
                     QStringLiteral("D"));
            editor.close();
        });
        QCOMPARE(editor.DoModal(), int(IDCANCEL));
        QVERIFY(!driver.timedOut());
        QVERIFY(driver.done());
    }
};

KESTRIN_TEST_MAIN(FavoriteEditsTest)
#include "tst_favoriteedits.moc"
