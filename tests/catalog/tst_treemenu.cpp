// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "catalog/CLeftView.h"
#include "catalog/CatalogContextMenu.h"
#include "favorites/ui/CAddModifyFavoriteDlg.h"
#include "platform/ExternalBrowser.h"
#include "res/Resource.h"
#include "support/DialogControls.h"
#include "support/MenuEntries.h"
#include "support/MessageCapture.h"
#include "support/ModalDriver.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"
#include "support/TreeFixture.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>

class TreeMenuTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void rightClickOnASitePointsWithoutOpeningAndOffersToAddIt();
    void siteEntriesOpenCopyAndHandTheAddressOn();
    void favoriteEntriesEditInPlaceAndDelete();
    void keysOpenTheMenuOnTheCurrentItemAndFoldersHaveNone();

private:
    [[nodiscard]] QTreeWidgetItem* root() const { return m_fixture->tree()->topLevelItem(0); }
    [[nodiscard]] QTreeWidgetItem* node(const char* text) const
    {
        return TreeFixture::childNamed(root(), QString::fromUtf8(text));
    }
    // Right-clicks an item as the mouse does.
    void rightClick(QTreeWidgetItem* item) const;

    std::unique_ptr<TreeFixture> m_fixture;
    std::unique_ptr<CatalogContextMenu> m_menu;
};

void TreeMenuTest::init()
{
    m_fixture = std::make_unique<TreeFixture>();
    QVERIFY(m_fixture->writeFavorites(TestFiles::FavoritesXml(
        {{QStringLiteral("Zeta Weekly"), QStringLiteral("http://zeta.example/")},
         {QStringLiteral("Alpha Daily"), QStringLiteral("http://alpha.example/")}})));
    m_menu = m_fixture->showWithFavoritesMenu();
    QVERIFY(m_menu);
}

void TreeMenuTest::cleanup()
{
    m_menu.reset();
    m_fixture.reset();
}

void TreeMenuTest::rightClick(QTreeWidgetItem* item) const
{
    CLeftView* tree = m_fixture->tree();
    tree->scrollToItem(item);
    const QPoint at = tree->visualItemRect(item).center();
    QTest::mousePress(tree->viewport(), Qt::RightButton, {}, at);
    QContextMenuEvent request(QContextMenuEvent::Mouse, at, tree->viewport()->mapToGlobal(at));
    QApplication::sendEvent(tree->viewport(), &request);
    QTest::mouseRelease(tree->viewport(), Qt::RightButton, {}, at);
}

void TreeMenuTest::rightClickOnASitePointsWithoutOpeningAndOffersToAddIt()
{
    CLeftView* tree = m_fixture->tree();
    QTreeWidgetItem* site = node("National")->child(0);
    const QString url = tree->urlAt(site->data(0, CLeftView::kIndexRole).toInt());
    rightClick(site);
    QVERIFY(m_menu->menu());
    QCOMPARE(MenuEntries::Texts(m_menu->menu()),
             (QStringList{"&Open", "Open in Your &Browser", "&Copy Address", "-",
                          "Add to My &Favorites"}));
    QVERIFY(!tree->currentItem());
    QCOMPARE(m_fixture->navigations()->size(), 0);

    MessageCapture messages;
    ModalDriver driver;
    driver.next<CAddModifyFavoriteDlg>([&](CAddModifyFavoriteDlg* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Edit My Favorites"));
        QLineEdit* name = DialogControls::Edit(dialog, IDC_FAVORITE_NAME);
        QCOMPARE(name->text(), site->text(0));
        QCOMPARE(name->selectedText(), site->text(0));
        QCOMPARE(DialogControls::Edit(dialog, IDC_FAVORITE_URL)->text(), url);
        QTest::keyClicks(name, QStringLiteral("My paper"));
        DialogControls::Button(dialog, IDOK)->click();
    });
    MenuEntries::Find(m_menu->menu(), QStringLiteral("Add to My &Favorites"))->trigger();
    QVERIFY(driver.done());
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("Successfully!")});
    QCOMPARE(m_fixture->folder().readRows().last(), QStringLiteral("My paper|") + url);
    QCOMPARE(m_fixture->navigations()->size(), 0);
}

void TreeMenuTest::siteEntriesOpenCopyAndHandTheAddressOn()
{
    CLeftView* tree = m_fixture->tree();
    QTreeWidgetItem* site = node("World")->child(1);
    const QString url = tree->urlAt(site->data(0, CLeftView::kIndexRole).toInt());
    QList<QUrl> launched;
    const auto previous = ExternalBrowser::SetLauncher([&](const QUrl& address) {
        launched.append(address);
        return true;
    });
    rightClick(site);
    MenuEntries::Find(m_menu->menu(), QStringLiteral("Open in Your &Browser"))->trigger();
    rightClick(site);
    MenuEntries::Find(m_menu->menu(), QStringLiteral("&Copy Address"))->trigger();
    ExternalBrowser::SetLauncher(previous);
    QCOMPARE(launched, QList<QUrl>{QUrl(url)});
    QCOMPARE(QGuiApplication::clipboard()->text(), url);
    QCOMPARE(m_fixture->navigations()->size(), 0);

    // Open does what selecting does, and opens the selected item again.
    rightClick(site);
    MenuEntries::Find(m_menu->menu(), QStringLiteral("&Open"))->trigger();
    QCOMPARE(tree->currentItem(), site);
    rightClick(site);
    MenuEntries::Find(m_menu->menu(), QStringLiteral("&Open"))->trigger();
    QCOMPARE(m_fixture->navigations()->size(), 2);
    QCOMPARE(m_fixture->navigations()->last().first().toString(), url);
}

void TreeMenuTest::favoriteEntriesEditInPlaceAndDelete()
{
    QTreeWidgetItem* favorites = node("My Favorites");
    // Shown sorted: Alpha Daily first, though it is the second record of the file.
    QTreeWidgetItem* alpha = favorites->child(0);
    QTreeWidgetItem* zeta = favorites->child(1);
    QCOMPARE(alpha->text(0), QStringLiteral("Alpha Daily"));
    rightClick(alpha);
    QCOMPARE(MenuEntries::Texts(m_menu->menu()),
             (QStringList{"&Open", "Open in Your &Browser", "&Copy Address", "-", "&Edit…",
                          "&Delete…", "&Move to Folder…"}));

    MessageCapture messages;
    ModalDriver driver;
    driver.next<CAddModifyFavoriteDlg>([&](CAddModifyFavoriteDlg* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Modify My Favorites"));
        QCOMPARE(DialogControls::Edit(dialog, IDC_FAVORITE_NAME)->text(),
                 QStringLiteral("Alpha Daily"));
        DialogControls::Edit(dialog, IDC_FAVORITE_URL)
            ->setText(QStringLiteral("https://alpha.example/"));
        DialogControls::Button(dialog, IDOK)->click();
    });
    MenuEntries::Find(m_menu->menu(), QStringLiteral("&Edit…"))->trigger();
    QVERIFY(driver.done());
    QCOMPARE(m_fixture->folder().readRows(), (QStringList{"Zeta Weekly|http://zeta.example/",
                                                          "Alpha Daily|https://alpha.example/"}));

    messages.answer(IDNO);
    rightClick(zeta);
    MenuEntries::Find(m_menu->menu(), QStringLiteral("&Delete…"))->trigger();
    QCOMPARE(m_fixture->folder().readRows().size(), 2);
    rightClick(zeta);
    MenuEntries::Find(m_menu->menu(), QStringLiteral("&Delete…"))->trigger();
    QCOMPARE(m_fixture->folder().readRows(), QStringList{"Alpha Daily|https://alpha.example/"});
    const QString question = QStringLiteral("Delete the favorite \u201cZeta Weekly\u201d?");
    QCOMPARE(messages.texts(), (QStringList{QStringLiteral("Successfully!"), question, question,
                                            QStringLiteral("Successfully!")}));
    QCOMPARE(m_fixture->navigations()->size(), 0);
}

void TreeMenuTest::keysOpenTheMenuOnTheCurrentItemAndFoldersHaveNone()
{
    CLeftView* tree = m_fixture->tree();
    QTreeWidgetItem* zeta = node("My Favorites")->child(1);
    tree->setCurrentItem(zeta);
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_F10, Qt::ShiftModifier);
    QVERIFY(m_menu->menu());
    QVERIFY(MenuEntries::Texts(m_menu->menu()).contains(QStringLiteral("&Edit…")));
    m_menu->menu()->close();

    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(), QPoint());
    QApplication::sendEvent(tree, &menuKey);
    QVERIFY(m_menu->menu());
    QCOMPARE(MenuEntries::Texts(m_menu->menu()).last(), QStringLiteral("&Move to Folder…"));
    m_menu->menu()->close();

    // Plain F10 is not the menu's key.
    QTest::keyClick(tree, Qt::Key_F10);
    QTRY_VERIFY(!m_menu->menu());

    rightClick(node("National"));
    QVERIFY(!m_menu->menu());
    rightClick(root());
    QVERIFY(!m_menu->menu());
}

KESTRIN_TEST_MAIN(TreeMenuTest)
#include "tst_treemenu.moc"
