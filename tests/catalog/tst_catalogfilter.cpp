// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "app/CKestrinNewsReaderDoc.h"
#include "app/Globals.h"
#include "catalog/CLeftView.h"
#include "catalog/CatalogData.h"
#include "catalog/CatalogFilterEdit.h"
#include "catalog/CatalogPane.h"
#include "favorites/CFavoritesStore.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"
#include "support/TreeFixture.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>

namespace {
const QString kSuffix = QStringLiteral(" - Kestrin News Reader");

QTreeWidgetItem* childNamed(QTreeWidgetItem* parent, const QString& text)
{
    return TreeFixture::childNamed(parent, text);
}

// Every item of the tree, top to bottom.
QList<QTreeWidgetItem*> allItems(QTreeWidget* tree)
{
    QList<QTreeWidgetItem*> items;
    std::function<void(QTreeWidgetItem*)> walk = [&](QTreeWidgetItem* item) {
        items.append(item);
        for (int i = 0; i < item->childCount(); ++i)
            walk(item->child(i));
    };
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        walk(tree->topLevelItem(i));
    return items;
}

bool isSite(QTreeWidgetItem* item)
{
    return item->data(0, CLeftView::kIndexRole).toInt() != 0;
}

// The texts of the sites a user can see.
QStringList visibleSites(QTreeWidget* tree)
{
    QStringList names;
    for (QTreeWidgetItem* item : allItems(tree)) {
        bool shown = !item->isHidden();
        for (QTreeWidgetItem* up = item->parent(); up && shown; up = up->parent())
            shown = !up->isHidden() && up->isExpanded();
        if (shown && isSite(item))
            names.append(item->text(0));
    }
    return names;
}

// The rows a user can see below node, top to bottom, folders among them.
QStringList visibleRows(QTreeWidgetItem* node)
{
    QStringList rows;
    for (int i = 0; node->isExpanded() && i < node->childCount(); ++i) {
        QTreeWidgetItem* child = node->child(i);
        if (child->isHidden())
            continue;
        rows.append(child->text(0));
        rows.append(visibleRows(child));
    }
    return rows;
}

// Expansion of every folder, by its path of texts.
QMap<QString, bool> expansion(QTreeWidget* tree)
{
    QMap<QString, bool> result;
    for (QTreeWidgetItem* item : allItems(tree)) {
        if (isSite(item))
            continue;
        QString path = item->text(0);
        for (QTreeWidgetItem* up = item->parent(); up; up = up->parent())
            path.prepend(up->text(0) + QLatin1Char('/'));
        result.insert(path, item->isExpanded());
    }
    return result;
}

int catalogSize()
{
    int total = int(CatalogData::National().size() + CatalogData::World().size());
    for (const CatalogNode& node : CatalogData::States())
        total += int(node.entries.size());
    return total;
}
} // namespace

// The filter box over a tree without a browser pane: what it opens shows up as requests.
class CatalogFilterTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void eachFieldFindsASite_data();
    void eachFieldFindsASite();
    void matchesShowWithTheirFoldersExpandedAndKeepTheirData();
    void foldersAreFoundByNameWithTheFoldersAboveThem();
    void favoritesMatchByNameAccentsAndAddress();
    void nothingMatchedSaysSo();
    void escapeRestoresTheExpansionFromBeforeTheFilter();
    void rebuildKeepsTheFilter();
    void escapeInTheTreeClearsTheFilterAndKeepsThePaperInSight();
    void downOrEnterOpensTheFirstMatch();
    void findKeySelectsTheTextInTheBox();
    void clearButtonComesWithTextAndEmptiesTheBox();

private:
    void start(const TestFiles::Records& favorites = {});
    QTreeWidgetItem* root() const { return m_tree->topLevelItem(0); }
    QTreeWidgetItem* node(const char* text) const
    {
        return childNamed(root(), QString::fromUtf8(text));
    }
    void type(const QString& text);

    std::unique_ptr<TreeFixture> m_fixture;
    CLeftView* m_tree = nullptr;
    CatalogPane* m_pane = nullptr;
    QSignalSpy* m_navigations = nullptr;
};

void CatalogFilterTest::init()
{
    m_fixture = std::make_unique<TreeFixture>();
    m_tree = m_fixture->tree();
    m_pane = new CatalogPane(m_tree);
    m_navigations = m_fixture->navigations();
}

void CatalogFilterTest::cleanup()
{
    delete m_pane;
    m_fixture.reset();
}

void CatalogFilterTest::start(const TestFiles::Records& favorites)
{
    if (!favorites.isEmpty())
        QVERIFY(m_fixture->writeFavorites(TestFiles::FavoritesXml(favorites)));
    m_tree->OnInitialUpdate();
    m_pane->resize(300, 600);
    m_pane->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_pane));
}

void CatalogFilterTest::type(const QString& text)
{
    m_pane->filterEdit()->setFocus();
    m_pane->filterEdit()->selectAll();
    QTest::keyClicks(m_pane->filterEdit(), text);
}

void CatalogFilterTest::eachFieldFindsASite_data()
{
    QTest::addColumn<QString>("query");
    QTest::newRow("town") << "sturgis";
    QTest::newRow("state code and a name word") << "sd livestock";
    QTest::newRow("host name") << "tsln";
    QTest::newRow("state name, any order, any case") << "NEWS tri dakota";
    QTest::newRow("kind") << "livestock special interest";
}

void CatalogFilterTest::eachFieldFindsASite()
{
    QFETCH(QString, query);
    start();
    type(query);
    QVERIFY2(visibleSites(m_tree).contains(QStringLiteral("Tri-State Livestock News")),
             qPrintable(visibleSites(m_tree).join(u'|')));
    // Nothing is shown that the words do not find.
    const QStringList shown = visibleSites(m_tree);
    QVERIFY(shown.size() < 10);
}

void CatalogFilterTest::matchesShowWithTheirFoldersExpandedAndKeepTheirData()
{
    start({{QStringLiteral("Albion Notes"), QStringLiteral("https://notes.example/")}});
    QTreeWidgetItem* california = childNamed(node("American States"), "[CA]California");
    QVERIFY(!california->isExpanded());
    QMap<QTreeWidgetItem*, QPair<int, QString>> before;
    for (QTreeWidgetItem* item : allItems(m_tree)) {
        const int index = item->data(0, CLeftView::kIndexRole).toInt();
        before.insert(item, {index, m_tree->urlAt(index)});
    }

    // A name in the favorites and in California, a town in New York.
    type(QStringLiteral("albion"));
    const QStringList albion{"Albion Notes", "Albion Monitor", "Orleans Hub"};
    QCOMPARE(visibleSites(m_tree), albion);
    QVERIFY(california->isExpanded() && !california->isHidden());
    QVERIFY(node("American States")->isExpanded());
    QVERIFY(node("My Favorites")->isExpanded());
    QVERIFY(node("National")->isHidden());
    QVERIFY(node("World")->isHidden());
    QVERIFY(childNamed(node("American States"), "[TX]Texas")->isHidden());
    QCOMPARE(
        m_pane->statusLine()->text(),
        QStringLiteral("3 of %1 sites").arg(QLocale(QLocale::English).toString(catalogSize() + 1)));
    QVERIFY(m_pane->statusLine()->isVisible());

    // Hidden, never removed: every item keeps its index and address.
    QCOMPARE(allItems(m_tree).size(), before.size());
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        QCOMPARE(it.key()->data(0, CLeftView::kIndexRole).toInt(), it.value().first);
        QCOMPARE(m_tree->urlAt(it.value().first), it.value().second);
    }
    QCOMPARE(m_tree->nextIndex(), catalogSize() + 2);

    // Narrowing hides what no longer matches; widening brings it back.
    type(QStringLiteral("albion monitor"));
    QCOMPARE(visibleSites(m_tree), QStringList{"Albion Monitor"});
    QVERIFY(node("My Favorites")->isHidden());
    for (int i = 0; i < 8; ++i)
        QTest::keyClick(m_pane->filterEdit(), Qt::Key_Backspace);
    QCOMPARE(m_pane->filterEdit()->text(), QStringLiteral("albion"));
    QCOMPARE(visibleSites(m_tree), albion);
}

void CatalogFilterTest::foldersAreFoundByNameWithTheFoldersAboveThem()
{
    QVERIFY(m_fixture->writeFavorites(
        "<Favorites>"
        "<Folder><title>Midwest</title><Folder><title>Ohio</title>"
        "<Folder><title>Quillfeather Towns</title></Folder>"
        "<Favorite><title>Zanesville Beacon</title><url>http://beacon.example/</url></Favorite>"
        "</Folder></Folder>"
        "<Folder><title>Quillfeather Digest</title>"
        "<Favorite><title>Morning Sheet</title><url>http://sheet.example/</url></Favorite>"
        "</Folder>"
        "<Favorite><title>Top Paper</title><url>http://top.example/</url></Favorite>"
        "</Favorites>"));
    start();
    QMap<QString, bool> before = expansion(m_tree);
    QTreeWidgetItem* favorites = node("My Favorites");

    // An empty folder deep down shows with the folders above it opened; a folder that holds
    // favorites shows them.
    type(QStringLiteral("quillfeather"));
    QCOMPARE(visibleRows(favorites), (QStringList{"Midwest", "Ohio", "Quillfeather Towns",
                                                  "Quillfeather Digest", "Morning Sheet"}));
    QCOMPARE(m_pane->filter().firstMatch()->text(0), QStringLiteral("Quillfeather Towns"));
    QCOMPARE(m_pane->statusLine()->text(),
             QStringLiteral("1 of %1 sites, 2 folders")
                 .arg(QLocale(QLocale::English).toString(catalogSize() + 3)));
    // Down goes to it; a folder opens nothing.
    QTest::keyClick(m_pane->filterEdit(), Qt::Key_Down);
    QCOMPARE(m_tree->currentItem()->text(0), QStringLiteral("Quillfeather Towns"));
    QCOMPARE(m_navigations->size(), 0);

    // A folder made while the filter is on is found at once.
    QVERIFY(m_fixture->store().CreateFolder({QStringLiteral("Midwest")},
                                            QStringLiteral("Quillfeather Hills")));
    QCOMPARE(visibleRows(favorites),
             (QStringList{"Midwest", "Ohio", "Quillfeather Towns", "Quillfeather Hills",
                          "Quillfeather Digest", "Morning Sheet"}));

    // The words may name the folders above: the folder and all it holds.
    type(QStringLiteral("midwest ohio"));
    QCOMPARE(visibleRows(favorites),
             (QStringList{"Midwest", "Ohio", "Quillfeather Towns", "Zanesville Beacon"}));
    QCOMPARE(m_pane->filter().folderMatchCount(), 2);
    type(QStringLiteral("zanesville beacon"));
    QCOMPARE(visibleRows(favorites), (QStringList{"Midwest", "Ohio", "Zanesville Beacon"}));
    QCOMPARE(m_pane->filter().folderMatchCount(), 0);
    QCOMPARE(m_pane->statusLine()->text().left(5), QStringLiteral("1 of "));
    type(QStringLiteral("quillfeather nowhere"));
    QCOMPARE(m_pane->statusLine()->text(),
             QStringLiteral("No newspaper matches \u201cquillfeather nowhere\u201d"));

    // The whole tree comes back as it was, but for the folders above the selected one, which
    // stay open to keep it in sight; the new folder is closed as new folders are.
    m_pane->filterEdit()->clear();
    QMap<QString, bool> after = expansion(m_tree);
    const QString midwest = QStringLiteral("Kestrin News Reader/My Favorites/Midwest");
    QVERIFY(after.take(midwest + QStringLiteral("/Quillfeather Hills")) == false);
    QVERIFY(after.take(midwest) && !before.take(midwest));
    QVERIFY(after.take(midwest + QStringLiteral("/Ohio")) &&
            !before.take(midwest + QStringLiteral("/Ohio")));
    QCOMPARE(after, before);
}

void CatalogFilterTest::favoritesMatchByNameAccentsAndAddress()
{
    start({{QStringLiteral("Le Devoir de Montréal"), QStringLiteral("https://www.ledevoir.com/")},
           {QStringLiteral("ÉLAN Weekly"), QStringLiteral("https://elan.example.org/news")}});
    type(QStringLiteral("montreal"));
    QCOMPARE(visibleSites(m_tree), QStringList{"Le Devoir de Montréal"});
    type(QStringLiteral("ledev"));
    QCOMPARE(visibleSites(m_tree), QStringList{"Le Devoir de Montréal"});
    type(QStringLiteral("elan"));
    QCOMPARE(visibleSites(m_tree), QStringList{"ÉLAN Weekly"});
    // The path of an address is not searched, only its host.
    type(QStringLiteral("elan news"));
    QCOMPARE(visibleSites(m_tree), QStringList{});
    // The favorites' folder is a field like a state's.
    type(QStringLiteral("my favorites"));
    QCOMPARE(visibleSites(m_tree).size(), 2);
}

void CatalogFilterTest::nothingMatchedSaysSo()
{
    start();
    type(QStringLiteral("zzqx paper"));
    QCOMPARE(m_pane->statusLine()->text(),
             QStringLiteral("No newspaper matches \u201czzqx paper\u201d"));
    QVERIFY(root()->isHidden());
    QCOMPARE(visibleSites(m_tree), QStringList{});
    // Markup in the text is shown as typed.
    type(QStringLiteral("<b>x"));
    QCOMPARE(m_pane->statusLine()->textFormat(), Qt::PlainText);
}

void CatalogFilterTest::escapeRestoresTheExpansionFromBeforeTheFilter()
{
    start();
    node("World")->setExpanded(true);
    node("National")->setExpanded(false);
    childNamed(node("American States"), "[IA]Iowa")->setExpanded(true);
    const QMap<QString, bool> before = expansion(m_tree);
    const int sites = int(visibleSites(m_tree).size());

    type(QStringLiteral("daily"));
    QVERIFY(expansion(m_tree) != before);
    type(QStringLiteral("tribune"));
    // A folder the user folds while filtering is not what Esc gives back either.
    node("American States")->setExpanded(false);
    QTest::keyClick(m_pane->filterEdit(), Qt::Key_Escape);
    QCOMPARE(m_pane->filterEdit()->text(), QString());
    QCOMPARE(expansion(m_tree), before);
    QCOMPARE(visibleSites(m_tree).size(), sites);
    for (QTreeWidgetItem* item : allItems(m_tree))
        QVERIFY(!item->isHidden());
    QVERIFY(!m_pane->statusLine()->isVisible());

    // Esc in the empty box hands the keyboard to the tree.
    QTest::keyClick(m_pane->filterEdit(), Qt::Key_Escape);
    QTRY_VERIFY(m_tree->hasFocus());
}

void CatalogFilterTest::rebuildKeepsTheFilter()
{
    start();
    type(QStringLiteral("sturgis"));
    const QStringList found = visibleSites(m_tree);
    QVERIFY(!found.isEmpty());

    // Ctrl+N runs the initial update again.
    m_tree->OnInitialUpdate();
    QCOMPARE(m_pane->filterEdit()->text(), QStringLiteral("sturgis"));
    QCOMPARE(visibleSites(m_tree), found);

    // Found again in the catalog by content; Esc then shows the tree as a rebuild leaves it.
    m_tree->RebuildTree(CatalogView::ByContent);
    QCOMPARE(visibleSites(m_tree), found);
    QVERIFY(m_pane->statusLine()->text().startsWith(QString::number(found.size()) + u' '));
    QTest::keyClick(m_pane->filterEdit(), Qt::Key_Escape);
    QVERIFY(root()->isExpanded());
    QCOMPARE(root()->child(0)->text(0), QStringLiteral("My Favorites"));
    for (int i = 1; i < root()->childCount(); ++i) {
        QTreeWidgetItem* kind = root()->child(i);
        QVERIFY(!kind->isExpanded());
        for (int j = 0; j < kind->childCount(); ++j)
            QVERIFY(!kind->child(j)->isExpanded());
    }
}

void CatalogFilterTest::escapeInTheTreeClearsTheFilterAndKeepsThePaperInSight()
{
    start();
    QTreeWidgetItem* california = childNamed(node("American States"), "[CA]California");
    QVERIFY(!california->isExpanded());
    type(QStringLiteral("albion monitor"));
    QTest::keyClick(m_pane->filterEdit(), Qt::Key_Down);
    QTreeWidgetItem* monitor = m_tree->currentItem();
    QTRY_VERIFY(m_tree->hasFocus());

    QTest::keyClick(m_tree, Qt::Key_Escape);
    QCOMPARE(m_pane->filterEdit()->text(), QString());
    QVERIFY(!m_pane->statusLine()->isVisible());
    for (QTreeWidgetItem* item : allItems(m_tree))
        QVERIFY(!item->isHidden());
    // The paper stays selected, in its opened folder, on screen; nothing opened again.
    QCOMPARE(m_tree->currentItem(), monitor);
    QVERIFY(monitor->isSelected());
    QVERIFY(california->isExpanded());
    QTRY_VERIFY(m_tree->viewport()->rect().contains(m_tree->visualItemRect(monitor)));
    QCOMPARE(m_navigations->size(), 1);
    QVERIFY(m_tree->hasFocus());

    // Without a filter Esc in the tree does nothing.
    QTest::keyClick(m_tree, Qt::Key_Escape);
    QCOMPARE(m_tree->currentItem(), monitor);
}

void CatalogFilterTest::downOrEnterOpensTheFirstMatch()
{
    start();
    type(QStringLiteral("albion monitor"));
    QTest::keyClick(m_pane->filterEdit(), Qt::Key_Down);
    QTreeWidgetItem* monitor = m_tree->currentItem();
    QVERIFY(monitor);
    QCOMPARE(monitor->text(0), QStringLiteral("Albion Monitor"));
    QVERIFY(monitor->isSelected());
    QTRY_VERIFY(m_tree->hasFocus());
    QCOMPARE(m_pane->windowTitle(), QStringLiteral("Albion Monitor") + kSuffix);
    QCOMPARE(m_navigations->size(), 1);
    QCOMPARE(m_navigations->last().first().toString(),
             m_tree->urlAt(monitor->data(0, CLeftView::kIndexRole).toInt()));

    // Down to a paper already open moves the focus only; Enter opens it again.
    type(QStringLiteral("albion"));
    QTest::keyClick(m_pane->filterEdit(), Qt::Key_Down);
    QCOMPARE(m_navigations->size(), 1);
    type(QStringLiteral("albion"));
    QTest::keyClick(m_pane->filterEdit(), Qt::Key_Return);
    QCOMPARE(m_navigations->size(), 2);

    // The first match is the topmost one the user sees.
    type(QStringLiteral("tribune"));
    QTest::keyClick(m_pane->filterEdit(), Qt::Key_Return);
    QCOMPARE(m_tree->currentItem()->text(0), visibleSites(m_tree).first());
    QCOMPARE(m_navigations->size(), 3);

    // With nothing matched the keys only move the focus.
    type(QStringLiteral("zzqx"));
    QTest::keyClick(m_pane->filterEdit(), Qt::Key_Return);
    QCOMPARE(m_navigations->size(), 3);
    QTRY_VERIFY(m_tree->hasFocus());
}

void CatalogFilterTest::findKeySelectsTheTextInTheBox()
{
    start();
    type(QStringLiteral("sturgis"));
    m_pane->filterEdit()->setCursorPosition(3);
    QTest::keyClick(m_pane->filterEdit(), Qt::Key_K, Qt::ControlModifier);
    QCOMPARE(m_pane->filterEdit()->text(), QStringLiteral("sturgis"));
    QCOMPARE(m_pane->filterEdit()->selectedText(), QStringLiteral("sturgis"));

    m_tree->setFocus();
    m_pane->FocusFilter();
    QTRY_VERIFY(m_pane->filterEdit()->hasFocus());
    QCOMPARE(m_pane->filterEdit()->selectedText(), QStringLiteral("sturgis"));
}

void CatalogFilterTest::clearButtonComesWithTextAndEmptiesTheBox()
{
    start();
    const QStringList everything = visibleSites(m_tree);
    CatalogFilterEdit* box = m_pane->filterEdit();
    auto clearButton = [box]() -> QToolButton* {
        for (QToolButton* button : box->findChildren<QToolButton*>()) {
            if (button->isVisible())
                return button;
        }
        return nullptr;
    };
    // Text set from elsewhere (a mode switch keeps it) gets the button as typed text does.
    box->setText(QStringLiteral("sturgis"));
    QVERIFY(visibleSites(m_tree).size() < everything.size());
    QTRY_VERIFY(clearButton());
    QTest::mouseClick(clearButton(), Qt::LeftButton);
    QCOMPARE(box->text(), QString());
    QCOMPARE(visibleSites(m_tree), everything);

    type(QStringLiteral("albion"));
    QTRY_VERIFY(clearButton());
    QTest::mouseClick(clearButton(), Qt::LeftButton);
    QCOMPARE(box->text(), QString());
    QCOMPARE(visibleSites(m_tree), everything);
}

KESTRIN_TEST_MAIN(CatalogFilterTest)
#include "tst_catalogfilter.moc"
