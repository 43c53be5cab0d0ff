// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "catalog/CLeftView.h"
#include "catalog/UnreadCountMark.h"
#include "headlines/UnreadCountWalk.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"
#include "support/TreeFixture.h"

#include <QSignalSpy>

// The unread counts on a long list of favorites, set over several turns of the events.
class UnreadCountWalkTest : public QObject
{
    Q_OBJECT

private slots:
    void aLongTreeShowsTheLastCountsAskedFor();
};

void UnreadCountWalkTest::aLongTreeShowsTheLastCountsAskedFor()
{
    TreeFixture fixture;
    TestFiles::Records favorites;
    for (int i = 0; i < 20000; ++i)
        favorites.append(
            {QStringLiteral("Paper %1").arg(i), QStringLiteral("http://paper%1.example/").arg(i)});
    // Written otherwise, the same paper: counted once in the sum.
    const QString again = QStringLiteral("HTTP://Paper5.example");
    favorites.append({QStringLiteral("Paper 5 again"), again});
    QVERIFY(fixture.writeFavorites(TestFiles::FavoritesXml(favorites)));
    CLeftView* tree = fixture.tree();
    tree->OnInitialUpdate();
    const auto countOf = [tree](const QString& name, const QString& url) {
        QTreeWidgetItem* item = tree->FavoriteItem({name, url});
        return item ? item->data(0, UnreadCountMark::kRole).toInt() : -1;
    };

    UnreadCountWalk walk(tree);
    QSignalSpy finished(&walk, &UnreadCountWalk::finished);
    walk.start({{QStringLiteral("http://paper1.example/"), 4},
                {QStringLiteral("http://paper19999.example/"), 1}},
               {});
    // Asked again before the first walk is through: only the last counts stay.
    walk.start({{QStringLiteral("http://paper5.example/"), 2},
                {again, 2},
                {QStringLiteral("http://paper19999.example/"), 3}},
               {});
    QTRY_VERIFY_WITH_TIMEOUT(!walk.isRunning(), 30000);
    QCOMPARE(finished.last().at(0).toInt(), 5);
    QCOMPARE(tree->FavoritesNode()->data(0, UnreadCountMark::kRole).toInt(), 5);
    QCOMPARE(countOf(QStringLiteral("Paper 1"), QStringLiteral("http://paper1.example/")), 0);
    QCOMPARE(countOf(QStringLiteral("Paper 5"), QStringLiteral("http://paper5.example/")), 2);
    QCOMPARE(countOf(QStringLiteral("Paper 5 again"), again), 2);
    QCOMPARE(countOf(QStringLiteral("Paper 19999"), QStringLiteral("http://paper19999.example/")),
             3);

    // No counts left: every mark goes.
    walk.start({}, {});
    QTRY_VERIFY_WITH_TIMEOUT(!walk.isRunning(), 30000);
    QCOMPARE(tree->FavoritesNode()->data(0, UnreadCountMark::kRole).toInt(), 0);
    QCOMPARE(countOf(QStringLiteral("Paper 5 again"), again), 0);
}

KESTRIN_TEST_MAIN(UnreadCountWalkTest)
#include "tst_unreadcountwalk.moc"
