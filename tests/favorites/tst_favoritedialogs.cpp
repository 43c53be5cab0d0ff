// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FavoritesTestCase.h"
#include "favorites/ui/CAddModifyFavoriteDlg.h"
#include "favorites/ui/CEditMyFavoriteDlg.h"
#include "favorites/ui/FavoritesMessages.h"
#include "favorites/ui/FavoritesTreeModel.h"
#include "platform/DialogUnits.h"
#include "platform/GridLineDelegate.h"
#include "platform/MessageBox.h"
#include "res/Resource.h"
#include "support/DialogControls.h"
#include "support/MessageCapture.h"
#include "support/ModalDriver.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"
#include "support/ViewRows.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>

using ViewRows::Column;
using ViewRows::DoubleClick;

class FavoriteDialogsTest : public FavoritesTestCase
{
    Q_OBJECT

private slots:
    void editorListsRecordsAndDeletesThroughADoubleClick();
    void newSavesARecordAsTheLastRow();
    void blankValueIsNamedAndCancelDoesNotRefill();
    void duplicateShowsOnlyTheStoresMessage();
    void existingRecordModeDeletesOnlyAfterYes();
    void recordWithoutAddressCannotBeDeleted();
    void emptySpaceChangesNothingAndHeaderClicksSortOnlyTheView();
    void templatesLayOutTheirControlsInDialogUnits();
    void deleteOfARecordGoneMeanwhileSaysSoAndShowsTheFile();
    void resultsAreToldInTheirOwnWords_data();
    void resultsAreToldInTheirOwnWords();

private:
    [[nodiscard]] QByteArray fileBytes() const { return TestFiles::Read(favoritesPath()); }
};

void FavoriteDialogsTest::editorListsRecordsAndDeletesThroughADoubleClick()
{
    writeFavorites({{QStringLiteral("First Paper"), QStringLiteral("https://first.example/")},
                    {QStringLiteral("Second Paper"), QStringLiteral("https://second.example/")},
                    {QStringLiteral("Third Paper"), QStringLiteral("https://third.example/")}});
    MessageCapture messages;
    ModalDriver driver;
    CEditMyFavoriteDlg editor(store());
    QTreeView* list = editor.list();
    bool checkedDeleteDialog = false;

    driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Edit My Favorite"));
        QCOMPARE(dialog->focusWidget(), list);
        QCOMPARE(Column(list, 0), (QStringList{"000001", "000002", "000003"}));
        QCOMPARE(Column(list, 1), (QStringList{"First Paper", "Second Paper", "Third Paper"}));
        // Each row knows its favorite's place in the file.
        const auto* view = qobject_cast<QSortFilterProxyModel*>(list->model());
        QCOMPARE(dialog->model().refAt(view->mapToSource(ViewRows::Row(list, 2))).ordinal, 2);
        DoubleClick(list, 1);
    });
    driver.next<CAddModifyFavoriteDlg>([&](CAddModifyFavoriteDlg* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Delete My Favorites"));
        QCOMPARE(DialogControls::Edit(dialog, IDC_FAVORITE_NAME)->text(),
                 QStringLiteral("Second Paper"));
        QCOMPARE(DialogControls::Edit(dialog, IDC_FAVORITE_URL)->text(),
                 QStringLiteral("https://second.example/"));
        QVERIFY(!DialogControls::Edit(dialog, IDC_FAVORITE_NAME)->isEnabled());
        QVERIFY(!DialogControls::Edit(dialog, IDC_FAVORITE_URL)->isEnabled());
        QVERIFY(!DialogControls::Button(dialog, IDOK)->isEnabled());
        QVERIFY(DialogControls::Button(dialog, IDC_DELETE)->isEnabled());
        QCOMPARE(dialog->focusWidget(), DialogControls::Button(dialog, IDCANCEL));
        checkedDeleteDialog = true;
        DialogControls::Button(dialog, IDC_DELETE)->click();
    });
    driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg* dialog) {
        QCOMPARE(Column(list, 0), (QStringList{"000001", "000002"}));
        QCOMPARE(Column(list, 1), (QStringList{"First Paper", "Third Paper"}));
        DialogControls::Button(dialog, IDCANCEL)->click();
    });

    QCOMPARE(editor.DoModal(), int(IDCANCEL));
    QVERIFY(!driver.timedOut());
    QVERIFY(driver.done());
    QVERIFY(checkedDeleteDialog);
    QCOMPARE(messages.texts(), (QStringList{"Determined to delete?", "Successfully!"}));
    // The question asks with its icon; the success shows none.
    QCOMPARE(messages.requests().first().type, unsigned(MB_YESNO | MB_ICONQUESTION));
    QCOMPARE(messages.requests().last().type, unsigned(MB_OK));
    QVERIFY(!fileBytes().contains("Second Paper"));
}

void FavoriteDialogsTest::newSavesARecordAsTheLastRow()
{
    writeFavorites({{QStringLiteral("Old Paper"), QStringLiteral("https://old.example/")}});
    MessageCapture messages;
    ModalDriver driver;
    CEditMyFavoriteDlg editor(store());
    QTreeView* list = editor.list();

    driver.next<CEditMyFavoriteDlg>(
        [&](CEditMyFavoriteDlg* dialog) { DialogControls::Button(dialog, IDOK)->click(); });
    driver.next<CAddModifyFavoriteDlg>([&](CAddModifyFavoriteDlg* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Edit My Favorites"));
        QVERIFY(!DialogControls::Button(dialog, IDC_DELETE)->isEnabled());
        QVERIFY(DialogControls::Edit(dialog, IDC_FAVORITE_NAME)->text().isEmpty());
        // Ready for typing, as Add Current Page is.
        QCOMPARE(dialog->focusWidget(), DialogControls::Edit(dialog, IDC_FAVORITE_NAME));
        DialogControls::Edit(dialog, IDC_FAVORITE_NAME)->setText(QStringLiteral("  New Paper "));
        DialogControls::Edit(dialog, IDC_FAVORITE_URL)
            ->setText(QStringLiteral("https://new.example/\t"));
        DialogControls::Button(dialog, IDOK)->click();
    });
    // Enter in the editor acts as New and leaves the editor open.
    driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg* dialog) {
        QCOMPARE(Column(list, 0), (QStringList{"000001", "000002"}));
        QCOMPARE(Column(list, 1), (QStringList{"Old Paper", "New Paper"}));
        QCOMPARE(Column(list, 2), (QStringList{"https://old.example/", "https://new.example/"}));
        QCOMPARE(ViewRows::Current(list), 1);
        QCOMPARE(ViewRows::Selected(list), QList<int>{1});
        QTest::keyClick(list, Qt::Key_Return);
    });
    driver.next<CAddModifyFavoriteDlg>([&](CAddModifyFavoriteDlg* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Edit My Favorites"));
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg* dialog) {
        QVERIFY(dialog->isVisible());
        QCOMPARE(ViewRows::Shown(list).size(), 2);
        dialog->close();
    });

    QCOMPARE(editor.DoModal(), int(IDCANCEL));
    QVERIFY(!driver.timedOut());
    QVERIFY(driver.done());
    QCOMPARE(messages.texts(), QStringList{"Successfully!"});
}

void FavoriteDialogsTest::blankValueIsNamedAndCancelDoesNotRefill()
{
    writeFavorites({{QStringLiteral("Kept Paper"), QStringLiteral("https://kept.example/")}});
    MessageCapture messages;
    ModalDriver driver;
    CEditMyFavoriteDlg editor(store());
    QTreeView* list = editor.list();

    driver.next<CEditMyFavoriteDlg>(
        [&](CEditMyFavoriteDlg* dialog) { DialogControls::Button(dialog, IDOK)->click(); });
    driver.next<CAddModifyFavoriteDlg>([&](CAddModifyFavoriteDlg* dialog) {
        QLineEdit* name = DialogControls::Edit(dialog, IDC_FAVORITE_NAME);
        QLineEdit* url = DialogControls::Edit(dialog, IDC_FAVORITE_URL);
        name->setText(QStringLiteral(" \t "));
        url->setText(QStringLiteral("https://blank.example/"));
        DialogControls::Button(dialog, IDOK)->click();
        QVERIFY(dialog->isVisible());
        QCOMPARE(messages.texts(), QStringList{CAddModifyFavoriteDlg::MissingText({}, "x")});
        QCOMPARE(messages.requests().last().type, unsigned(MB_OK | MB_ICONWARNING));
        QCOMPARE(dialog->focusWidget(), name);

        name->setText(QStringLiteral("Blank Paper"));
        url->setText(QStringLiteral("\n"));
        DialogControls::Button(dialog, IDOK)->click();
        QVERIFY(dialog->isVisible());
        QCOMPARE(messages.texts().last(), CAddModifyFavoriteDlg::MissingText("x", {}));
        QCOMPARE(dialog->focusWidget(), url);

        name->clear();
        url->clear();
        DialogControls::Button(dialog, IDOK)->click();
        QVERIFY(dialog->isVisible());
        QCOMPARE(messages.texts().size(), 3);
        QCOMPARE(dialog->focusWidget(), name);
        // Changed behind the editor's back: a refill would show it.
        QFile::remove(favoritesPath());
        DialogControls::Button(dialog, IDCANCEL)->click();
    });
    driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg* dialog) {
        QCOMPARE(Column(list, 1), QStringList{"Kept Paper"});
        DialogControls::Button(dialog, IDCANCEL)->click();
    });
    QCOMPARE(editor.DoModal(), int(IDCANCEL));
    QVERIFY(driver.done());
    // Each says which value is missing; none is the store's.
    const QStringList said = messages.texts();
    QVERIFY(said.at(0).contains(QLatin1String("name")));
    QVERIFY(!said.at(0).contains(QLatin1String("address")));
    QVERIFY(said.at(1).contains(QLatin1String("address")));
    QVERIFY(!said.at(1).contains(QLatin1String("name")));
    QVERIFY(said.at(2).contains(QLatin1String("name")) &&
            said.at(2).contains(QLatin1String("address")));
}

void FavoriteDialogsTest::duplicateShowsOnlyTheStoresMessage()
{
    writeFavorites({{QStringLiteral("Same Paper"), QStringLiteral("https://same.example/")}});
    const QByteArray before = fileBytes();
    MessageCapture messages;
    ModalDriver driver;
    CAddModifyFavoriteDlg dialog(store());
    driver.next<CAddModifyFavoriteDlg>([&](CAddModifyFavoriteDlg* shown) {
        DialogControls::Edit(shown, IDC_FAVORITE_NAME)->setText(QStringLiteral("Same Paper "));
        DialogControls::Edit(shown, IDC_FAVORITE_URL)
            ->setText(QStringLiteral(" https://same.example/"));
        DialogControls::Button(shown, IDOK)->click();
        QVERIFY(shown->isVisible());
        DialogControls::Button(shown, IDCANCEL)->click();
    });
    QCOMPARE(dialog.DoModal(), int(IDCANCEL));
    QCOMPARE(messages.texts(),
             QStringList{"The same content already exist, delete it then add new!"});
    QCOMPARE(fileBytes(), before);
}

void FavoriteDialogsTest::existingRecordModeDeletesOnlyAfterYes()
{
    writeFavorites({{QStringLiteral("Doomed Paper"), QStringLiteral("https://doomed.example/")},
                    {QStringLiteral("Other Paper"), QStringLiteral("https://other.example/")}});
    const QByteArray before = fileBytes();
    MessageCapture messages;
    messages.answer(IDNO);
    messages.answer(IDYES);
    ModalDriver driver;
    CAddModifyFavoriteDlg dialog(store());
    dialog.m_bExisting = true;
    dialog.m_strName = QStringLiteral("Doomed Paper");
    dialog.m_strURL = QStringLiteral("https://doomed.example/");
    driver.next<CAddModifyFavoriteDlg>([&](CAddModifyFavoriteDlg* shown) {
        DialogControls::Button(shown, IDC_DELETE)->click();
        QVERIFY(shown->isVisible());
        QCOMPARE(fileBytes(), before);
        DialogControls::Button(shown, IDC_DELETE)->click();
    });
    QCOMPARE(dialog.DoModal(), int(IDOK));
    QCOMPARE(messages.texts(),
             (QStringList{"Determined to delete?", "Determined to delete?", "Successfully!"}));
    QVERIFY(!fileBytes().contains("Doomed Paper"));
    QVERIFY(fileBytes().contains("Other Paper"));
}

void FavoriteDialogsTest::recordWithoutAddressCannotBeDeleted()
{
    {
        QFile file(favoritesPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<Favorites><Favorite><title>No Address</title></Favorite></Favorites>");
    }
    const QByteArray before = fileBytes();
    MessageCapture messages;
    ModalDriver driver;
    CEditMyFavoriteDlg editor(store());
    QTreeView* list = editor.list();
    driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg*) {
        QCOMPARE(Column(list, 2), QStringList{QString()});
        DoubleClick(list, 0);
    });
    driver.next<CAddModifyFavoriteDlg>([&](CAddModifyFavoriteDlg* shown) {
        QCOMPARE(DialogControls::Edit(shown, IDC_FAVORITE_NAME)->text(),
                 QStringLiteral("No Address"));
        QVERIFY(DialogControls::Edit(shown, IDC_FAVORITE_URL)->text().isEmpty());
        DialogControls::Button(shown, IDC_DELETE)->click();
        QVERIFY(shown->isVisible());
        DialogControls::Button(shown, IDCANCEL)->click();
    });
    driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg* dialog) { dialog->reject(); });
    editor.DoModal();
    QVERIFY(driver.done());
    QCOMPARE(messages.texts(), QStringList{"Determined to delete?"});
    QCOMPARE(fileBytes(), before);
}

void FavoriteDialogsTest::emptySpaceChangesNothingAndHeaderClicksSortOnlyTheView()
{
    writeFavorites({{QStringLiteral("Beta Paper"), QStringLiteral("https://beta.example/")},
                    {QStringLiteral("Alpha Paper"), QStringLiteral("https://alpha.example/")}});
    ModalDriver driver;
    CEditMyFavoriteDlg editor(store());
    QTreeView* list = editor.list();
    bool openedSomething = false;
    driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg* dialog) {
        const QRect last = ViewRows::Rect(list, 1);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                           QPoint(last.center().x(), last.bottom() + 40));
        openedSomething = QApplication::activeModalWidget() != dialog;
        const QModelIndexList selected = list->selectionModel()->selectedRows();
        const QStringList selectedNames = [&] {
            QStringList names;
            for (const QModelIndex& row : selected)
                names.append(row.siblingAtColumn(1).data().toString());
            return names;
        }();
        QHeaderView* header = list->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(1) + 10, header->height() / 2));
        // By name now, each row keeping its number in the file, which stays as it was; the
        // selection stays on the same favorites.
        QCOMPARE(Column(list, 1), (QStringList{"Alpha Paper", "Beta Paper"}));
        QCOMPARE(Column(list, 0), (QStringList{"000002", "000001"}));
        QStringList stillSelected;
        for (const QModelIndex& row : list->selectionModel()->selectedRows())
            stillSelected.append(row.siblingAtColumn(1).data().toString());
        QCOMPARE(stillSelected, selectedNames);
        QCOMPARE(readRows().first(), QStringLiteral("Beta Paper|https://beta.example/"));
        // Several rows can be selected at once, a whole row at a time.
        list->selectAll();
        QCOMPARE(list->selectionModel()->selectedRows().size(), 2);
        QCOMPARE(list->columnWidth(0), 50);
        QCOMPARE(list->columnWidth(1), 200);
        QCOMPARE(list->columnWidth(2), 200);
        QVERIFY(qobject_cast<GridLineDelegate*>(list->itemDelegate()));
        dialog->reject();
    });
    editor.DoModal();
    QVERIFY(driver.done());
    QVERIFY(!openedSomething);
}

void FavoriteDialogsTest::templatesLayOutTheirControlsInDialogUnits()
{
    CAddModifyFavoriteDlg dialog(store());
    const DialogUnits units(dialog.font());
    QVERIFY(units.baseX() > 2 && units.baseY() > 6);
    QCOMPARE(dialog.size(), QSize(units.x(241), units.y(101)));
    QCOMPARE(DialogControls::Button(&dialog, IDOK)->geometry(), units.rect(184, 7, 50, 14));
    QCOMPARE(DialogControls::Button(&dialog, IDC_DELETE)->geometry(), units.rect(184, 31, 50, 14));
    QCOMPARE(DialogControls::Edit(&dialog, IDC_FAVORITE_URL)->geometry(),
             units.rect(7, 51, 167, 14));
    QCOMPARE(dialog.font().pointSize(), 8);
    // Template order is the tab order.
    QCOMPARE(DialogControls::Button(&dialog, IDOK)->nextInFocusChain(),
             DialogControls::Button(&dialog, IDCANCEL));
    QCOMPARE(DialogControls::Button(&dialog, IDCANCEL)->nextInFocusChain(),
             DialogControls::Button(&dialog, IDC_DELETE));
    QCOMPARE(DialogControls::Button(&dialog, IDC_DELETE)->nextInFocusChain(),
             DialogControls::Edit(&dialog, IDC_FAVORITE_NAME));

    CEditMyFavoriteDlg editor(store());
    QCOMPARE(editor.size(), QSize(units.x(357), units.y(275)));
    QCOMPARE(editor.list()->geometry(), units.rect(7, 25, 289, 230));
}

void FavoriteDialogsTest::deleteOfARecordGoneMeanwhileSaysSoAndShowsTheFile()
{
    writeFavorites({{QStringLiteral("First Paper"), QStringLiteral("https://first.example/")},
                    {QStringLiteral("Second Paper"), QStringLiteral("https://second.example/")}});
    MessageCapture messages;
    ModalDriver driver;
    CEditMyFavoriteDlg editor(store());
    QTreeView* list = editor.list();
    driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg*) {
        // Another copy deleted it a moment ago.
        writeFavorites({{QStringLiteral("First Paper"), QStringLiteral("https://first.example/")}});
        DoubleClick(list, 1);
    });
    driver.next<CAddModifyFavoriteDlg>([&](CAddModifyFavoriteDlg* dialog) {
        DialogControls::Button(dialog, IDC_DELETE)->click();
    });
    driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg* dialog) {
        QCOMPARE(Column(list, 1), QStringList{"First Paper"});
        dialog->reject();
    });
    editor.DoModal();
    QVERIFY(driver.done());
    QCOMPARE(messages.texts(),
             (QStringList{"Determined to delete?",
                          "This favorite is no longer in My Favorites as shown: it was changed or "
                          "deleted since. Nothing was changed."}));
}

void FavoriteDialogsTest::resultsAreToldInTheirOwnWords_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    using Code = FavoritesResult::Code;
    QTest::newRow("added") << int(Code::Done) << QString();
    QTest::newRow("blank") << int(Code::Blank) << QString();
    QTest::newRow("duplicate") << int(Code::Duplicate)
                               << QStringLiteral("The same content already exist, delete it "
                                                 "then add new!");
    QTest::newRow("no parser") << int(Code::NoParser)
                               << QStringLiteral("Unable to create DOMDocument object. Please "
                                                 "check the installation of the MS XML Parser!");
    QTest::newRow("node") << int(Code::NodeFailure) << QStringLiteral("Access node failure!");
    QTest::newRow("file") << int(Code::Failed)
                          << QStringLiteral("Unable to change the favorites file /f.xml.\nwhy");
    QTest::newRow("no source") << int(Code::SourceUnreadable)
                               << QStringLiteral("读取配置文件 Favorites.xml 失败！");
    QTest::newRow("backup") << int(Code::BackupUnwritable)
                            << QStringLiteral(
                                   "创建配置文件 Favorites.xml.bk 失败！\nwhy\n原有的备份"
                                   "未改动。");
}

void FavoriteDialogsTest::resultsAreToldInTheirOwnWords()
{
    QFETCH(int, code);
    QFETCH(QString, text);
    const auto result = FavoritesResult::Of(FavoritesResult::Code(code), QStringLiteral("/f.xml"),
                                            QStringLiteral("why"));
    QCOMPARE(FavoritesMessages::Text(result), text);
    MessageCapture messages;
    QCOMPARE(FavoritesMessages::Tell(result), result.succeeded());
    QCOMPARE(messages.texts(), text.isEmpty() ? QStringList() : QStringList{text});
}

KESTRIN_TEST_MAIN(FavoriteDialogsTest)
#include "tst_favoritedialogs.moc"
