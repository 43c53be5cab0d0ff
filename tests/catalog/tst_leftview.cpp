// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "app/CKestrinNewsReaderDoc.h"
#include "app/Globals.h"
#include "catalog/CLeftView.h"
#include "catalog/CatalogData.h"
#include "catalog/LinkMarkDelegate.h"
#include "favorites/CXmlTestSeam.h"
#include "support/MessageCapture.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"
#include "support/TestProfile.h"
#include "support/TreeFixture.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeWidgetItemIterator>

namespace {
const QString kSuffix = QStringLiteral(" - Kestrin News Reader");

int catalogSize()
{
    int total = static_cast<int>(CatalogData::National().size() + CatalogData::World().size());
    for (const CatalogNode& node : CatalogData::States())
        total += static_cast<int>(node.entries.size());
    return total;
}

QList<int> indices(QTreeWidgetItem* node)
{
    QList<int> result;
    for (int i = 0; i < node->childCount(); ++i)
        result.append(node->child(i)->data(0, CLeftView::kIndexRole).toInt());
    std::sort(result.begin(), result.end());
    return result;
}

QList<int> range(int first, int count)
{
    QList<int> result;
    for (int i = 0; i < count; ++i)
        result.append(first + i);
    return result;
}

QTreeWidgetItem* childNamed(QTreeWidgetItem* parent, const QString& text)
{
    return TreeFixture::childNamed(parent, text);
}
} // namespace

// A tree view with its document and no browser pane: what it opens shows up as requests.
class LeftViewTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void rebuildBuildsTheWholeCatalog();
    void favoritesShowSortedButKeepFileOrderIndices();
    void sortedInsertionIgnoresCaseAndKeepsEqualNamesInOrder();
    void selectingASiteSetsTheTitleAndNavigates();
    void selectingAFavoriteWithoutAddressOnlySetsTheTitle();
    void selectingANodeChangesNothing();
    void emptyMyFavoritesIsALeaf();
    void namesKeepTheirTrailingSpaces();
    void keyboardSelectionOpensSitesLikeAClick();
    void rebuildResetsExpansionAndSelection();
    void everyOneOfManyFavoritesGetsItsOwnAddress();
    void missingFavoritesFileStillBuildsTheCatalog();
    void favoritesFailuresStillBuildTheCatalog();
    void catalogByContentGroupsEverySiteUnderItsKind();
    void enterOrAClickOnTheSelectedItemOpensItAgain();
    void columnFitsTheLongestVisibleNameWithManyFavorites();
    void columnIsTheWidestRowAsDrawn_data();
    void columnIsTheWidestRowAsDrawn();

private:
    void writeFavorites(const QByteArray& xml) { QVERIFY(m_fixture->writeFavorites(xml)); }
    QTreeWidgetItem* root() const { return m_tree->topLevelItem(0); }
    QTreeWidgetItem* node(const char* text) const
    {
        return childNamed(root(), QString::fromUtf8(text));
    }

    std::unique_ptr<TreeFixture> m_fixture;
    CKestrinNewsReaderDoc* m_doc = nullptr;
    CLeftView* m_tree = nullptr;
    QSignalSpy* m_navigations = nullptr;
};

void LeftViewTest::init()
{
    m_fixture = std::make_unique<TreeFixture>();
    m_doc = m_fixture->document();
    m_tree = m_fixture->tree();
    m_navigations = m_fixture->navigations();
}

void LeftViewTest::cleanup()
{
    m_fixture.reset();
}

void LeftViewTest::rebuildBuildsTheWholeCatalog()
{
    writeFavorites(
        TestFiles::FavoritesXml({{QStringLiteral("One"), QStringLiteral("https://one.example/")},
                                 {QStringLiteral("Two"), QStringLiteral("https://two.example/")}}));
    m_tree->OnInitialUpdate();
    const int favorites = 2;

    QCOMPARE(m_tree->topLevelItemCount(), 1);
    QCOMPARE(root()->text(0), QStringLiteral("Kestrin News Reader"));
    QStringList children;
    for (int i = 0; i < root()->childCount(); ++i)
        children.append(root()->child(i)->text(0));
    QCOMPARE(children, (QStringList{"My Favorites", "National", "World", "American States"}));

    QVERIFY(root()->isExpanded());
    QVERIFY(node("My Favorites")->isExpanded());
    QVERIFY(node("National")->isExpanded());
    QVERIFY(!node("World")->isExpanded());
    QVERIFY(node("American States")->isExpanded());
    QVERIFY(m_tree->selectedItems().isEmpty());
    QVERIFY(!m_tree->currentItem());

    for (QTreeWidgetItem* item :
         {root(), node("My Favorites"), node("National"), node("World"), node("American States")})
        QCOMPARE(item->data(0, CLeftView::kIndexRole).toInt(), 0);

    QCOMPARE(indices(node("My Favorites")), range(1, favorites));
    QCOMPARE(indices(node("National")), range(favorites + 1, 66));
    QCOMPARE(indices(node("World")), range(favorites + 67, 25));

    QTreeWidgetItem* states = node("American States");
    const auto data = CatalogData::States();
    QCOMPARE(states->childCount(), int(data.size()));
    int next = favorites + 92;
    for (int i = 0; i < states->childCount(); ++i) {
        QTreeWidgetItem* state = states->child(i);
        QCOMPARE(state->text(0), QString::fromUtf8(data[std::size_t(i)].text));
        QVERIFY(!state->isExpanded());
        QCOMPARE(state->data(0, CLeftView::kIndexRole).toInt(), 0);
        const int count = int(data[std::size_t(i)].entries.size());
        QCOMPARE(indices(state), range(next, count));
        // Each site's index leads to its own address.
        const CatalogEntry& first = data[std::size_t(i)].entries[0];
        QTreeWidgetItem* site = childNamed(state, QString::fromUtf8(first.name));
        QVERIFY(site);
        QCOMPARE(m_tree->urlAt(site->data(0, CLeftView::kIndexRole).toInt()),
                 QString::fromUtf8(first.url));
        next += count;
    }
    QCOMPARE(next, favorites + catalogSize() + 1);
    QCOMPARE(m_tree->nextIndex(), favorites + catalogSize() + 1);

    // Entries display in alphabetical order, whatever their stored order.
    QTreeWidgetItem* national = node("National");
    for (int i = 1; i < national->childCount(); ++i) {
        QVERIFY(QString::localeAwareCompare(national->child(i - 1)->text(0).toLower(),
                                            national->child(i)->text(0).toLower()) <= 0);
    }
}

void LeftViewTest::favoritesShowSortedButKeepFileOrderIndices()
{
    writeFavorites(TestFiles::FavoritesXml(
        {{QStringLiteral("Zeta"), QStringLiteral("https://zeta.example/")},
         {QStringLiteral("Alpha"), QStringLiteral("https://alpha.example/")}}));
    m_tree->OnInitialUpdate();
    QTreeWidgetItem* favorites = node("My Favorites");
    QCOMPARE(favorites->childCount(), 2);
    QCOMPARE(favorites->child(0)->text(0), QStringLiteral("Alpha"));
    QCOMPARE(favorites->child(0)->data(0, CLeftView::kIndexRole).toInt(), 2);
    QCOMPARE(favorites->child(1)->text(0), QStringLiteral("Zeta"));
    QCOMPARE(favorites->child(1)->data(0, CLeftView::kIndexRole).toInt(), 1);
    QCOMPARE(m_tree->urlAt(2), QStringLiteral("https://alpha.example/"));
}

void LeftViewTest::sortedInsertionIgnoresCaseAndKeepsEqualNamesInOrder()
{
    writeFavorites(TestFiles::FavoritesXml(
        {{QStringLiteral("beta"), QStringLiteral("https://b.example/")},
         {QStringLiteral("Alpha"), QStringLiteral("https://a1.example/")},
         {QStringLiteral("alpha"), QStringLiteral("https://a2.example/")},
         {QStringLiteral("Gamma"), QStringLiteral("https://g.example/")},
         {QStringLiteral("Alpha"), QStringLiteral("https://a3.example/")}}));
    m_tree->OnInitialUpdate();
    QTreeWidgetItem* favorites = node("My Favorites");
    QStringList order;
    QList<int> data;
    for (int i = 0; i < favorites->childCount(); ++i) {
        order.append(favorites->child(i)->text(0));
        data.append(favorites->child(i)->data(0, CLeftView::kIndexRole).toInt());
    }
    QCOMPARE(order, (QStringList{"Alpha", "alpha", "Alpha", "beta", "Gamma"}));
    QCOMPARE(data, (QList<int>{2, 3, 5, 1, 4}));
}

void LeftViewTest::selectingASiteSetsTheTitleAndNavigates()
{
    m_tree->OnInitialUpdate();
    const CatalogEntry& entry = CatalogData::States()[0].entries[1];
    QTreeWidgetItem* site =
        childNamed(node("American States")->child(0), QString::fromUtf8(entry.name));
    QVERIFY(site);
    m_tree->setCurrentItem(site);
    QCOMPARE(m_tree->windowTitle(), QString::fromUtf8(entry.name) + kSuffix);
    QCOMPARE(m_navigations->size(), 1);
    QCOMPARE(m_navigations->first().first().toString(), QString::fromUtf8(entry.url));
    QCOMPARE(g_strCurrentURL, QString::fromUtf8(entry.url));
}

void LeftViewTest::selectingAFavoriteWithoutAddressOnlySetsTheTitle()
{
    writeFavorites("<Favorites><Favorite><title>No Address</title></Favorite>"
                   "<Favorite><title>Empty</title><url></url></Favorite></Favorites>");
    m_tree->OnInitialUpdate();
    for (const QString& name : {QStringLiteral("No Address"), QStringLiteral("Empty")}) {
        g_strCurrentURL = QStringLiteral("https://before.example/");
        m_tree->setCurrentItem(childNamed(node("My Favorites"), name));
        QCOMPARE(m_tree->windowTitle(), name + kSuffix);
        QCOMPARE(m_navigations->size(), 0);
        QCOMPARE(g_strCurrentURL, QString());
    }
}

void LeftViewTest::selectingANodeChangesNothing()
{
    m_tree->OnInitialUpdate();
    m_tree->setWindowTitle(QStringLiteral("Before"));
    for (QTreeWidgetItem* item : {root(), node("National"), node("World"), node("American States"),
                                  node("American States")->child(7)}) {
        m_tree->setCurrentItem(item);
        QCOMPARE(m_tree->windowTitle(), QStringLiteral("Before"));
    }
    QCOMPARE(m_navigations->size(), 0);
    QCOMPARE(g_strCurrentURL, QStringLiteral("https://start.example.org/"));
}

void LeftViewTest::emptyMyFavoritesIsALeaf()
{
    m_tree->OnInitialUpdate();
    m_tree->setCurrentItem(node("My Favorites"));
    QCOMPARE(m_tree->windowTitle(), QStringLiteral("My Favorites") + kSuffix);
    QCOMPARE(m_navigations->size(), 0);
    QCOMPARE(g_strCurrentURL, QStringLiteral("https://start.example.org/"));
}

void LeftViewTest::namesKeepTheirTrailingSpaces()
{
    writeFavorites(TestFiles::FavoritesXml(
        {{QStringLiteral("  Padded &amp; <b>  "), QStringLiteral("https://padded.example/")}}));
    m_tree->OnInitialUpdate();
    QTreeWidgetItem* cnn = childNamed(node("National"), QStringLiteral("CNN "));
    QVERIFY(cnn);
    m_tree->setCurrentItem(cnn);
    QCOMPARE(m_tree->windowTitle(), QStringLiteral("CNN  - Kestrin News Reader"));
    // Stored markup and entity text is shown as text, not decoded.
    QTreeWidgetItem* padded = node("My Favorites")->child(0);
    QCOMPARE(padded->text(0), QStringLiteral("  Padded &amp; <b>  "));
}

void LeftViewTest::keyboardSelectionOpensSitesLikeAClick()
{
    m_tree->OnInitialUpdate();
    m_tree->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tree));
    QTreeWidgetItem* national = node("National");
    m_tree->setCurrentItem(national);
    QTest::keyClick(m_tree, Qt::Key_Down);
    QTreeWidgetItem* first = national->child(0);
    QCOMPARE(m_tree->currentItem(), first);
    QCOMPARE(m_navigations->size(), 1);
    QCOMPARE(m_navigations->last().first().toString(),
             m_tree->urlAt(first->data(0, CLeftView::kIndexRole).toInt()));
    QTest::keyClick(m_tree, Qt::Key_Down);
    QCOMPARE(m_navigations->size(), 2);
    QCOMPARE(m_tree->windowTitle(), national->child(1)->text(0) + kSuffix);

    // Typing a name's first letters jumps to it.
    QTest::keyClicks(m_tree, QStringLiteral("USA"));
    QCOMPARE(m_tree->currentItem()->text(0), QStringLiteral("USA Today"));
    QCOMPARE(m_tree->windowTitle(), QStringLiteral("USA Today") + kSuffix);
}

void LeftViewTest::rebuildResetsExpansionAndSelection()
{
    m_tree->OnInitialUpdate();
    node("World")->setExpanded(true);
    node("National")->setExpanded(false);
    node("American States")->child(3)->setExpanded(true);
    m_tree->setCurrentItem(node("World")->child(0));
    m_tree->RebuildTree(CatalogView::ByArea);
    QVERIFY(!node("World")->isExpanded());
    QVERIFY(node("National")->isExpanded());
    QVERIFY(!node("American States")->child(3)->isExpanded());
    QVERIFY(!m_tree->currentItem());
    QVERIFY(m_tree->selectedItems().isEmpty());
    QCOMPARE(m_tree->nextIndex(), catalogSize() + 1);
}

void LeftViewTest::everyOneOfManyFavoritesGetsItsOwnAddress()
{
    QList<QPair<QString, QString>> records;
    for (int i = 0; i < 2000; ++i) {
        records.append({QStringLiteral("Paper %1").arg(i, 4, 10, QLatin1Char('0')),
                        QStringLiteral("https://paper%1.example/").arg(i)});
    }
    writeFavorites(TestFiles::FavoritesXml(records));
    m_tree->OnInitialUpdate();
    QTreeWidgetItem* favorites = node("My Favorites");
    QCOMPARE(favorites->childCount(), 2000);
    QCOMPARE(m_tree->nextIndex(), 2000 + catalogSize() + 1);
    for (int i = 0; i < 2000; ++i) {
        QTreeWidgetItem* item = favorites->child(i);
        QCOMPARE(item->text(0), records.at(i).first);
        QCOMPARE(m_tree->urlAt(item->data(0, CLeftView::kIndexRole).toInt()), records.at(i).second);
    }
    m_tree->setCurrentItem(favorites->child(1999));
    QCOMPARE(m_navigations->last().first().toString(),
             QStringLiteral("https://paper1999.example/"));
}

void LeftViewTest::missingFavoritesFileStillBuildsTheCatalog()
{
    MessageCapture messages;
    m_tree->OnInitialUpdate();
    QCOMPARE(messages.texts(), QStringList());
    QCOMPARE(node("My Favorites")->childCount(), 0);
    QCOMPARE(m_tree->nextIndex(), catalogSize() + 1);
}

void LeftViewTest::favoritesFailuresStillBuildTheCatalog()
{
    writeFavorites(TestFiles::FavoritesXml(
        {{QStringLiteral("Kept"), QStringLiteral("https://kept.example/")},
         {QStringLiteral("Lost"), QStringLiteral("https://lost.example/")},
         {QStringLiteral("Gone"), QStringLiteral("https://gone.example/")}}));
    {
        MessageCapture messages;
        CXmlTestSeam::Failures failures;
        failures.createStatus = xml::HRESULT(0x80040154); // class not registered
        CXmlTestSeam::SetFailures(failures);
        m_tree->OnInitialUpdate();
        CXmlTestSeam::SetFailures({});
        QCOMPARE(messages.texts(),
                 QStringList{"Unable to create DOMDocument object. Please check the installation "
                             "of the MS XML Parser!"});
        QCOMPARE(node("My Favorites")->childCount(), 0);
        QCOMPARE(m_tree->nextIndex(), catalogSize() + 1);
    }
    {
        MessageCapture messages;
        CXmlTestSeam::Failures failures;
        failures.itemExpression = QStringLiteral("Favorites/Favorite|Favorites/Folder");
        failures.itemIndex = 1;
        CXmlTestSeam::SetFailures(failures);
        m_tree->RebuildTree(CatalogView::ByArea);
        CXmlTestSeam::SetFailures({});
        QCOMPARE(messages.texts(), QStringList{"Access node failure!"});
        QTreeWidgetItem* favorites = node("My Favorites");
        QCOMPARE(favorites->childCount(), 1);
        QCOMPARE(favorites->child(0)->text(0), QStringLiteral("Kept"));
        QCOMPARE(m_tree->nextIndex(), 1 + catalogSize() + 1);
        QCOMPARE(node("American States")->childCount(), int(CatalogData::States().size()));
    }
}

void LeftViewTest::catalogByContentGroupsEverySiteUnderItsKind()
{
    writeFavorites(TestFiles::FavoritesXml(
        {{QStringLiteral("Zeta"), QStringLiteral("https://zeta.example/")},
         {QStringLiteral("Alpha"), QStringLiteral("https://alpha.example/")}}));
    m_tree->OnInitialUpdate();
    // What each index names and leads to in the catalog by area.
    QHash<int, QPair<QString, QString>> byArea;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        const int index = (*it)->data(0, CLeftView::kIndexRole).toInt();
        if (index)
            byArea.insert(index, {(*it)->text(0), m_tree->urlAt(index)});
    }

    m_tree->RebuildTree(CatalogView::ByContent);
    const QStringList kinds{"Daily newspapers",    "Weekly and community papers",
                            "Business news",       "Alternative weeklies",
                            "Campus papers",       "Special interest",
                            "Online news",         "Magazines",
                            "Television and radio"};
    QStringList children;
    for (int i = 0; i < root()->childCount(); ++i)
        children.append(root()->child(i)->text(0));
    QCOMPARE(children.takeFirst(), QStringLiteral("My Favorites"));
    // Kinds in the order of the list, each present one holding sites.
    qsizetype last = -1;
    for (const QString& kind : std::as_const(children)) {
        const qsizetype position = kinds.indexOf(kind);
        QVERIFY2(position > last, qPrintable(kind));
        last = position;
    }
    QVERIFY(children.size() >= 8);
    QCOMPARE(indices(node("My Favorites")), range(1, 2));
    QCOMPARE(node("My Favorites")->child(0)->text(0), QStringLiteral("Alpha"));

    // Groups in the order of the catalog by area; every site once, with its index, name
    // and address as there, under the kind and the group it belongs to.
    QStringList groupOrder{"National", "World"};
    for (const CatalogNode& state : CatalogData::States())
        groupOrder.append(QString::fromUtf8(state.text));
    QSet<int> seen;
    for (int i = 1; i < root()->childCount(); ++i) {
        QTreeWidgetItem* kind = root()->child(i);
        // Closed: the catalog shows as its kinds under My Favorites.
        QVERIFY(!kind->isExpanded());
        QCOMPARE(kind->data(0, CLeftView::kIndexRole).toInt(), 0);
        qsizetype lastGroup = -1;
        for (int j = 0; j < kind->childCount(); ++j) {
            QTreeWidgetItem* group = kind->child(j);
            const qsizetype position = groupOrder.indexOf(group->text(0));
            QVERIFY2(position > lastGroup, qPrintable(group->text(0)));
            lastGroup = position;
            QVERIFY(!group->isExpanded());
            QVERIFY(group->childCount() > 0);
            for (int k = 0; k < group->childCount(); ++k) {
                QTreeWidgetItem* site = group->child(k);
                const int index = site->data(0, CLeftView::kIndexRole).toInt();
                QVERIFY(!seen.contains(index));
                seen.insert(index);
                QCOMPARE(site->text(0), byArea.value(index).first);
                QCOMPARE(m_tree->urlAt(index), byArea.value(index).second);
                const CatalogEntry* entry = m_tree->catalogEntryAt(index);
                QVERIFY(entry);
                QCOMPARE(QString::fromUtf8(CatalogData::KindText(entry->kind)), kind->text(0));
                if (k > 0) {
                    QVERIFY(QString::localeAwareCompare(group->child(k - 1)->text(0).toLower(),
                                                        site->text(0).toLower()) <= 0);
                }
            }
        }
    }
    QCOMPARE(seen.size(), catalogSize());
    QCOMPARE(m_tree->nextIndex(), 2 + catalogSize() + 1);

    // Selecting works as everywhere.
    QTreeWidgetItem* site = root()->child(1)->child(0)->child(0);
    m_tree->setCurrentItem(site);
    QCOMPARE(m_tree->windowTitle(), site->text(0) + kSuffix);
    QCOMPARE(m_navigations->last().first().toString(),
             m_tree->urlAt(site->data(0, CLeftView::kIndexRole).toInt()));

    // Any mode but 2 is the catalog by area.
    m_tree->RebuildTree(static_cast<CatalogView>(7));
    QCOMPARE(root()->child(1)->text(0), QStringLiteral("National"));
}

void LeftViewTest::enterOrAClickOnTheSelectedItemOpensItAgain()
{
    m_tree->OnInitialUpdate();
    m_tree->resize(400, 600);
    m_tree->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tree));
    QTreeWidgetItem* national = node("National");
    QTreeWidgetItem* first = national->child(0);
    QTreeWidgetItem* second = national->child(1);
    const QString firstUrl = m_tree->urlAt(first->data(0, CLeftView::kIndexRole).toInt());
    auto clickOn = [this](QTreeWidgetItem* item) {
        QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {},
                          m_tree->visualItemRect(item).center());
    };

    clickOn(first);
    QCOMPARE(m_navigations->size(), 1);
    // The user browsed elsewhere; Enter on the selected paper brings it back.
    m_tree->setWindowTitle(QStringLiteral("Help - Kestrin News Reader"));
    g_strCurrentURL = QStringLiteral("https://elsewhere.example/");
    QTest::keyClick(m_tree, Qt::Key_Return);
    QCOMPARE(m_navigations->size(), 2);
    QCOMPARE(m_navigations->last().first().toString(), firstUrl);
    QCOMPARE(m_tree->windowTitle(), first->text(0) + kSuffix);
    QCOMPARE(g_strCurrentURL, firstUrl);
    QTest::keyClick(m_tree, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(m_navigations->size(), 3);

    clickOn(first);
    QCOMPARE(m_navigations->size(), 4);
    QCOMPARE(m_navigations->last().first().toString(), firstUrl);

    // Selecting another paper opens it once, as before; so does a double click on it.
    clickOn(second);
    QCOMPARE(m_navigations->size(), 5);
    QTreeWidgetItem* third = national->child(2);
    QTest::mouseDClick(m_tree->viewport(), Qt::LeftButton, {},
                       m_tree->visualItemRect(third).center());
    QCOMPARE(m_navigations->size(), 6);
    QCOMPARE(m_tree->currentItem(), third);

    // A selected folder still opens nothing, however often it is chosen.
    m_tree->setCurrentItem(node("World"));
    const QString title = m_tree->windowTitle();
    clickOn(node("World"));
    QTest::keyClick(m_tree, Qt::Key_Return);
    QCOMPARE(m_navigations->size(), 6);
    QCOMPARE(m_tree->windowTitle(), title);
}

void LeftViewTest::columnFitsTheLongestVisibleNameWithManyFavorites()
{
    QList<QPair<QString, QString>> records;
    for (int i = 0; i < 2000; ++i)
        records.append(
            {QStringLiteral("Fav %1").arg(i), QStringLiteral("https://f%1.example/").arg(i)});
    writeFavorites(TestFiles::FavoritesXml(records));
    m_tree->OnInitialUpdate();
    m_tree->resize(250, 500);
    m_tree->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tree));

    // The state whose longest name is the longest of all.
    QTreeWidgetItem* states = node("American States");
    QTreeWidgetItem* widestState = nullptr;
    QString longest;
    const QFontMetrics metrics(m_tree->font());
    for (int i = 0; i < states->childCount(); ++i) {
        for (int j = 0; j < states->child(i)->childCount(); ++j) {
            const QString text = states->child(i)->child(j)->text(0);
            if (metrics.horizontalAdvance(text) > metrics.horizontalAdvance(longest)) {
                longest = text;
                widestState = states->child(i);
            }
        }
    }
    QVERIFY(widestState);
    const int needed = 4 * m_tree->indentation() + metrics.horizontalAdvance(longest);
    QVERIFY(needed > 250);

    m_tree->scrollToItem(widestState, QAbstractItemView::PositionAtTop);
    QCoreApplication::processEvents();
    const int before = m_tree->header()->sectionSize(0);
    QVERIFY(before < needed);
    widestState->setExpanded(true);
    QTRY_VERIFY(m_tree->header()->sectionSize(0) >= needed);
    QTRY_VERIFY(m_tree->horizontalScrollBar()->maximum() > 0);
    // Scrolling keeps it; folding the state away gives the width back.
    m_tree->verticalScrollBar()->setValue(0);
    QCoreApplication::processEvents();
    QVERIFY(m_tree->header()->sectionSize(0) >= needed);
    widestState->setExpanded(false);
    QTRY_COMPARE(m_tree->header()->sectionSize(0), before);

    // A row shown with a longer text is measured again.
    QTreeWidgetItem* favorite = node("My Favorites")->child(0);
    favorite->setText(0, longest + longest);
    QTRY_VERIFY(m_tree->header()->sectionSize(0) >=
                3 * m_tree->indentation() + metrics.horizontalAdvance(longest + longest));
}

void LeftViewTest::columnIsTheWidestRowAsDrawn_data()
{
    QTest::addColumn<QStringList>("favorites");
    QTest::addColumn<int>("marked");
    // Many narrow letters against few wide ones, and close calls between the two.
    QTest::newRow("narrow letters")
        << QStringList{QString(60, QLatin1Char('i')), QString(14, QLatin1Char('W'))} << -1;
    QTest::newRow("wide letters") << QStringList{QString(30, QLatin1Char('i')),
                                                 QString(24, QLatin1Char('W'))}
                                  << -1;
    QTest::newRow("marked row") << QStringList{QStringLiteral("Tri-State Livestock News Extra"),
                                               QStringLiteral("Tri-State Livestock News Extr")}
                                << 1;
    QTest::newRow("accents and scripts")
        << QStringList{QStringLiteral("Le Journal de Québec — édition"),
                       QStringLiteral("Ελληνικά νέα της ημέρας"),
                       QStringLiteral("日本語の新聞サイト")}
        << -1;
}

void LeftViewTest::columnIsTheWidestRowAsDrawn()
{
    QFETCH(QStringList, favorites);
    QFETCH(int, marked);
    QList<QPair<QString, QString>> records;
    for (const QString& title : favorites)
        records.append({title, QStringLiteral("https://%1.example/").arg(records.size())});
    writeFavorites(TestFiles::FavoritesXml(records));
    m_tree->setItemDelegate(new LinkMarkDelegate(m_tree));
    m_tree->OnInitialUpdate();
    m_tree->resize(250, 500);
    m_tree->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tree));
    if (marked >= 0)
        node("My Favorites")->child(marked)->setData(0, LinkMarkDelegate::kMovedRole, true);
    node("National")->setExpanded(true);

    // Every visible row measured as it is drawn.
    int widest = 0;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        bool visible = !(*it)->isHidden();
        int depth = 1;
        for (QTreeWidgetItem* up = (*it)->parent(); up && visible; up = up->parent()) {
            visible = up->isExpanded() && !up->isHidden();
            ++depth;
        }
        if (visible) {
            widest =
                std::max(widest, depth * m_tree->indentation() +
                                     m_tree->sizeHintForIndex(m_tree->indexFromItem(*it)).width());
        }
    }
    QCOMPARE(m_tree->sizeHintForColumn(0), widest);
    QTRY_COMPARE(m_tree->header()->sectionSize(0), widest);
}

KESTRIN_TEST_MAIN(LeftViewTest)
#include "tst_leftview.moc"
