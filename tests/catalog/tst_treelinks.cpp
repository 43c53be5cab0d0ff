// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "catalog/CLeftView.h"
#include "catalog/CatalogContextMenu.h"
#include "catalog/CatalogData.h"
#include "catalog/CatalogLinkMarks.h"
#include "catalog/LinkMarkDelegate.h"
#include "platform/ExternalBrowser.h"
#include "support/MenuEntries.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"
#include "support/TreeFixture.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QLocale>
#include <QMenu>
#include <QTextDocument>
#include <QToolTip>

namespace {
const QString kShared = QString::fromUtf8(CatalogData::National()[0].url);
const QString kMoved = QString::fromUtf8(CatalogData::National()[1].url);
const QString kAlive = QString::fromUtf8(CatalogData::National()[2].url);

LinkResult makeResult(LinkResult::Status status, const QString& error = {},
                      const QString& newUrl = {})
{
    LinkResult result;
    result.status = status;
    result.error = error;
    result.newUrl = newUrl;
    result.checked = QDateTime(QDate(2026, 12, 8), QTime(12, 0), Qt::UTC);
    return result;
}

QList<QTreeWidgetItem*> itemsWithUrl(CLeftView& tree, const QString& url)
{
    QList<QTreeWidgetItem*> items;
    for (QTreeWidgetItemIterator it(&tree); *it; ++it) {
        if (tree.urlOf(*it) == url)
            items.append(*it);
    }
    return items;
}

} // namespace

// Marks and the right-click menu on a real built tree.
class TreeLinksTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom)); }
    void init();
    void cleanup();

    void marksFollowTheResultsByAddress();
    void marksComeBackAfterARebuild();
    void aChangedResultRemarksOnlyItsItems();
    void aDeadSiteStillOpens();
    void toolTipsShowWhatTheyQuoteAsText();
    void menuOffersTheSiteEntries();
    void nodesOfferNoMenu();
    void rightClickDoesNotOpenTheSite();
    void keyboardOpensTheMenuForTheCurrentItem();
    void entriesActOnTheirItem();
    void sectionsFollowInOrderAndKnowFavorites();

private:
    QTreeWidgetItem* favorite() const { return m_tree->topLevelItem(0)->child(0)->child(0); }

    std::unique_ptr<TreeFixture> m_fixture;
    CLeftView* m_tree = nullptr;
    QHash<QString, LinkResult> m_results;
    CatalogLinkMarks* m_marks = nullptr;
    CatalogContextMenu* m_menu = nullptr;
};

void TreeLinksTest::init()
{
    m_fixture = std::make_unique<TreeFixture>();
    // The favorite shares its address with the first national site.
    QVERIFY(m_fixture->writeFavorites(
        TestFiles::FavoritesXml({{QStringLiteral("Shared paper"), kShared}})));
    m_tree = m_fixture->tree();
    m_results.clear();
    m_marks = new CatalogLinkMarks(
        m_tree,
        [this](const QString& url) {
            const auto it = m_results.constFind(url);
            return it == m_results.constEnd() ? nullptr : &*it;
        },
        m_tree);
    m_menu = new CatalogContextMenu(m_tree);
}

void TreeLinksTest::cleanup()
{
    ExternalBrowser::SetLauncher({});
    m_fixture.reset();
}

void TreeLinksTest::marksFollowTheResultsByAddress()
{
    m_results.insert(kShared,
                     makeResult(LinkResult::Status::Dead, QStringLiteral("connection refused")));
    m_results.insert(kMoved, makeResult(LinkResult::Status::Moved, {},
                                        QStringLiteral("https://owner.example/")));
    m_results.insert(kAlive, makeResult(LinkResult::Status::Alive));
    m_tree->OnInitialUpdate();

    const QList<QTreeWidgetItem*> dead = itemsWithUrl(*m_tree, kShared);
    QCOMPARE(dead.size(), 2); // the favorite and the catalog site
    const QColor grey = CatalogLinkMarks::DeadColor(m_tree->palette());
    QVERIFY(grey != m_tree->palette().color(QPalette::Text));
    for (const QTreeWidgetItem* item : dead) {
        QCOMPARE(item->foreground(0).color(), grey);
        QCOMPARE(item->toolTip(0),
                 QStringLiteral("Not reachable on 8 Dec 2026: connection refused"));
        QVERIFY(!item->data(0, LinkMarkDelegate::kMovedRole).toBool());
    }
    // The name is never touched.
    QCOMPARE(dead.first()->text(0), QStringLiteral("Shared paper"));

    QTreeWidgetItem* moved = itemsWithUrl(*m_tree, kMoved).value(0);
    QVERIFY(moved->data(0, LinkMarkDelegate::kMovedRole).toBool());
    QCOMPARE(moved->toolTip(0),
             QStringLiteral("Moved to https://owner.example/ (found on 8 Dec 2026)"));
    QVERIFY(!moved->data(0, Qt::ForegroundRole).isValid());
    QCOMPARE(moved->text(0), QString::fromUtf8(CatalogData::National()[1].name));

    QTreeWidgetItem* alive = itemsWithUrl(*m_tree, kAlive).value(0);
    QCOMPARE(alive->toolTip(0), QStringLiteral("Reachable on 8 Dec 2026"));
    QVERIFY(!alive->data(0, Qt::ForegroundRole).isValid());

    QTreeWidgetItem* unchecked =
        itemsWithUrl(*m_tree, QString::fromUtf8(CatalogData::World()[0].url)).value(0);
    QVERIFY(unchecked->toolTip(0).isEmpty());
    // Nodes carry no mark.
    QVERIFY(m_tree->topLevelItem(0)->toolTip(0).isEmpty());

    // The arrow gets room of its own after the name.
    const QStyleOptionViewItem option;
    const QSize movedSize = m_tree->itemDelegate()->sizeHint(option, m_tree->indexFromItem(moved));
    moved->setData(0, LinkMarkDelegate::kMovedRole, QVariant());
    const QSize plainSize = m_tree->itemDelegate()->sizeHint(option, m_tree->indexFromItem(moved));
    QCOMPARE(movedSize.width(), plainSize.width() + LinkMarkDelegate::kMarkWidth);
}

void TreeLinksTest::marksComeBackAfterARebuild()
{
    m_tree->OnInitialUpdate();
    QVERIFY(itemsWithUrl(*m_tree, kMoved).value(0)->toolTip(0).isEmpty());
    m_results.insert(kMoved, makeResult(LinkResult::Status::Moved, {},
                                        QStringLiteral("https://owner.example/")));
    m_tree->RebuildTree(CatalogView::ByContent);
    QTreeWidgetItem* moved = itemsWithUrl(*m_tree, kMoved).value(0);
    QVERIFY(moved->data(0, LinkMarkDelegate::kMovedRole).toBool());
    QVERIFY(moved->toolTip(0).startsWith(QLatin1String("Moved to")));
}

void TreeLinksTest::aChangedResultRemarksOnlyItsItems()
{
    m_results.insert(kShared,
                     makeResult(LinkResult::Status::Dead, QStringLiteral("connection refused")));
    m_results.insert(kMoved, makeResult(LinkResult::Status::Moved, {},
                                        QStringLiteral("https://owner.example/")));
    m_tree->OnInitialUpdate();

    m_results.insert(kShared, makeResult(LinkResult::Status::Alive));
    m_results.remove(kMoved); // forgotten without a new mark: apply() was not asked for it
    m_marks->apply(kShared);
    for (const QTreeWidgetItem* item : itemsWithUrl(*m_tree, kShared)) {
        QVERIFY(!item->data(0, Qt::ForegroundRole).isValid());
        QCOMPARE(item->toolTip(0), QStringLiteral("Reachable on 8 Dec 2026"));
    }
    QVERIFY(itemsWithUrl(*m_tree, kMoved).value(0)->data(0, LinkMarkDelegate::kMovedRole).toBool());
    m_marks->apply(kMoved);
    QVERIFY(
        !itemsWithUrl(*m_tree, kMoved).value(0)->data(0, LinkMarkDelegate::kMovedRole).isValid());
    QVERIFY(itemsWithUrl(*m_tree, kMoved).value(0)->toolTip(0).isEmpty());
}

void TreeLinksTest::toolTipsShowWhatTheyQuoteAsText()
{
    // Where a site said it moved to is quoted in the tooltip, markup and all.
    m_results.insert(kMoved,
                     makeResult(LinkResult::Status::Moved, {},
                                QStringLiteral("https://owner.example/<b>Big</b><img src=x>")));
    m_tree->OnInitialUpdate();
    m_tree->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tree));
    QTreeWidgetItem* item = itemsWithUrl(*m_tree, kMoved).constFirst();
    m_tree->scrollToItem(item);
    QVERIFY(item->toolTip(0).contains(QLatin1String("<b>Big</b>")));

    const QPoint at = m_tree->visualItemRect(item).center();
    QHelpEvent help(QEvent::ToolTip, at, m_tree->viewport()->mapToGlobal(at));
    QApplication::sendEvent(m_tree->viewport(), &help);
    QTRY_VERIFY(QToolTip::isVisible());
    QTextDocument shown;
    shown.setHtml(QToolTip::text());
    QCOMPARE(shown.toPlainText(), item->toolTip(0));
    QToolTip::hideText();
}

void TreeLinksTest::aDeadSiteStillOpens()
{
    m_results.insert(kShared,
                     makeResult(LinkResult::Status::Dead, QStringLiteral("connection refused")));
    m_tree->OnInitialUpdate();
    QSignalSpy& navigations = *m_fixture->navigations();
    navigations.clear();
    QTreeWidgetItem* dead = itemsWithUrl(*m_tree, kShared).value(1);
    QVERIFY(dead->flags() & Qt::ItemIsEnabled);
    QVERIFY(dead->flags() & Qt::ItemIsSelectable);
    m_tree->setCurrentItem(dead);
    QCOMPARE(navigations.count(), 1);
    QCOMPARE(navigations.first().first().toString(), kShared);
}

void TreeLinksTest::menuOffersTheSiteEntries()
{
    m_tree->OnInitialUpdate();
    QTreeWidgetItem* site = itemsWithUrl(*m_tree, kAlive).value(0);
    m_menu->popup(site, QPoint(10, 10));
    QMenu* menu = m_menu->menu();
    QVERIFY(menu);
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(MenuEntries::Texts(menu),
             (QStringList{QStringLiteral("&Open"), QStringLiteral("Open in Your &Browser"),
                          QStringLiteral("&Copy Address")}));
    for (const QAction* action : menu->actions())
        QVERIFY(action->isEnabled());
    QCOMPARE(menu->defaultAction()->text(), QStringLiteral("&Open"));
    menu->close();
}

void TreeLinksTest::nodesOfferNoMenu()
{
    m_tree->OnInitialUpdate();
    m_menu->popup(m_tree->topLevelItem(0)->child(1), QPoint(10, 10)); // "National"
    QVERIFY(!m_menu->menu());
    m_menu->popup(m_tree->topLevelItem(0), QPoint(10, 10));
    QVERIFY(!m_menu->menu());
}

void TreeLinksTest::rightClickDoesNotOpenTheSite()
{
    m_tree->resize(400, 600);
    m_tree->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tree));
    m_tree->OnInitialUpdate();
    QSignalSpy& navigations = *m_fixture->navigations();
    navigations.clear();
    QTreeWidgetItem* site = favorite();
    const QPoint at = m_tree->visualItemRect(site).center();
    QTest::mousePress(m_tree->viewport(), Qt::RightButton, {}, at);
    QTest::mouseRelease(m_tree->viewport(), Qt::RightButton, {}, at);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, m_tree->viewport()->mapToGlobal(at));
    QApplication::sendEvent(m_tree->viewport(), &event);

    QVERIFY(m_menu->menu());
    QTRY_VERIFY(m_menu->menu()->isVisible());
    QCOMPARE(m_tree->currentItem(), nullptr);
    QCOMPARE(navigations.count(), 0);
    // The menu is about the item under the pointer.
    QAction* copy = MenuEntries::Find(m_menu->menu(), QStringLiteral("&Copy Address"));
    QVERIFY(copy);
    copy->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), kShared);
    m_menu->menu()->close();
}

void TreeLinksTest::keyboardOpensTheMenuForTheCurrentItem()
{
    m_tree->resize(400, 600);
    m_tree->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tree));
    m_tree->OnInitialUpdate();
    m_tree->setCurrentItem(favorite());

    QTest::keyClick(m_tree, Qt::Key_F10, Qt::ShiftModifier);
    QVERIFY(m_menu->menu());
    QTRY_VERIFY(m_menu->menu()->isVisible());
    QPointer<QMenu> first = m_menu->menu();
    first->close();

    QTest::keyClick(m_tree, Qt::Key_Menu);
    QTRY_VERIFY(m_menu->menu() && m_menu->menu()->isVisible());
    // A keyboard menu event on top of the key does not open a second menu.
    QPointer<QMenu> shown = m_menu->menu();
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(1, 1),
                            m_tree->mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(m_tree, &event);
    QCOMPARE(m_menu->menu(), shown.data());
    shown->close();

    // F10 alone is left to the frame.
    m_tree->setCurrentItem(nullptr);
    QTest::keyClick(m_tree, Qt::Key_F10, Qt::ShiftModifier);
    QTRY_VERIFY(!m_menu->menu() || !m_menu->menu()->isVisible());
}

void TreeLinksTest::entriesActOnTheirItem()
{
    m_tree->OnInitialUpdate();
    QSignalSpy& navigations = *m_fixture->navigations();
    navigations.clear();
    QTreeWidgetItem* site = itemsWithUrl(*m_tree, kAlive).value(0);
    m_tree->setCurrentItem(site);
    QCOMPARE(navigations.count(), 1);

    // Open works on the current item too: the page comes back after wandering off.
    m_menu->popup(site, QPoint(10, 10));
    MenuEntries::Find(m_menu->menu(), QStringLiteral("&Open"))->trigger();
    QCOMPARE(navigations.count(), 2);
    QCOMPARE(navigations.last().first().toString(), kAlive);

    QList<QUrl> launched;
    ExternalBrowser::SetLauncher([&launched](const QUrl& url) {
        launched.append(url);
        return true;
    });
    QTreeWidgetItem* other = itemsWithUrl(*m_tree, kMoved).value(0);
    m_menu->popup(other, QPoint(10, 10));
    MenuEntries::Find(m_menu->menu(), QStringLiteral("Open in Your &Browser"))->trigger();
    QCOMPARE(launched, QList<QUrl>{QUrl(kMoved)});
    QCOMPARE(m_tree->currentItem(), site);
    QCOMPARE(navigations.count(), 2);
}

void TreeLinksTest::sectionsFollowInOrderAndKnowFavorites()
{
    m_tree->OnInitialUpdate();
    QList<CatalogMenuContext> seen;
    m_menu->addSection([&seen](QMenu& menu, const CatalogMenuContext& context) {
        seen.append(context);
        menu.addAction(QStringLiteral("Second"));
    });
    m_menu->addSection([](QMenu&, const CatalogMenuContext&) {}); // adds nothing
    m_menu->addSection([](QMenu& menu, const CatalogMenuContext& context) {
        if (context.favorite)
            menu.addAction(QStringLiteral("Favorites only"));
    });

    m_menu->popup(favorite(), QPoint(10, 10));
    QCOMPARE(
        MenuEntries::Texts(m_menu->menu()),
        (QStringList{QStringLiteral("&Open"), QStringLiteral("Open in Your &Browser"),
                     QStringLiteral("&Copy Address"), QStringLiteral("-"), QStringLiteral("Second"),
                     QStringLiteral("-"), QStringLiteral("Favorites only")}));
    QVERIFY(seen.last().favorite);
    QCOMPARE(seen.last().url, kShared);
    QCOMPARE(seen.last().name, QStringLiteral("Shared paper"));

    QTreeWidgetItem* site = itemsWithUrl(*m_tree, kShared).value(1);
    m_menu->popup(site, QPoint(10, 10));
    QCOMPARE(MenuEntries::Texts(m_menu->menu()).constLast(), QStringLiteral("Second"));
    QVERIFY(!seen.last().favorite);
    // "My Favorites" itself is no favorite.
    QVERIFY(!m_menu->contextFor(favorite()->parent()).favorite);
    m_menu->menu()->close();
}

KESTRIN_TEST_MAIN(TreeLinksTest)
#include "tst_treelinks.moc"
