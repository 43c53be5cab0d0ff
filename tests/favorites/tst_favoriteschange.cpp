// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FavoritesTestCase.h"
#include "favorites/CFavoritesChange.h"
#include "support/CoreTestMain.h"
#include "support/TestFiles.h"

namespace {
const TestFiles::Records kThree{{QStringLiteral("One"), QStringLiteral("http://1/")},
                                {QStringLiteral("Two"), QStringLiteral("http://2/")},
                                {QStringLiteral("Three"), QStringLiteral("http://3/")}};
} // namespace

// The one locked read-modify-write that every change of Favorites.xml goes through.
class FavoritesChangeTest : public FavoritesTestCase
{
    Q_OBJECT

private slots:
    void init()
    {
        FavoritesTestCase::init();
        writeFavorites(kThree);
    }

    void positionsCountEveryElementOfTheRootAndNothingElse()
    {
        QVERIFY(TestFiles::Write(favoritesPath(),
                                 "<Favorites>text<!-- c --><Favorite><title>A</title><url>a</url>"
                                 "</Favorite><?pi x?><Other><title>B</title><url>b</url></Other>"
                                 "<Favorite><title>C</title><url>c</url></Favorite></Favorites>"));
        QList<CFavoritesChange::Child> seen;
        QCOMPARE(store()
                     .Modify([&](CFavoritesChange& change) {
                         seen = change.Children();
                         [&] {
                             QCOMPARE(change.Find(QStringLiteral("B"), QStringLiteral("b")), 1);
                             QCOMPARE(change.Find(QStringLiteral("C"), QStringLiteral("c")), 2);
                             QCOMPARE(change.Find(QStringLiteral("C"), QStringLiteral("a")), -1);
                         }();
                         return Code::Unchanged;
                     })
                     .code,
                 Code::Unchanged);
        QCOMPARE(seen.size(), 3);
        QCOMPARE(seen.at(1).name, QStringLiteral("Other"));
        QCOMPARE(seen.at(2).record.title, QStringLiteral("C"));
    }

    void replaceKeepsThePlaceAndManyChangesMakeOneSave()
    {
        QVERIFY(store().Modify([](CFavoritesChange& change) {
            change.Replace(change.Find(QStringLiteral("Two"), QStringLiteral("http://2/")),
                           QStringLiteral("Deux"), QStringLiteral("http://deux/"));
            change.Remove(0);
            for (int i = 0; i < 50; ++i)
                change.Append(QStringLiteral("Bulk %1").arg(i),
                              QStringLiteral("http://b/%1").arg(i));
            return Code::Done;
        }));
        const QStringList rows = readRows();
        QCOMPARE(rows.size(), 52);
        QCOMPARE(rows.mid(0, 3), (QStringList{QStringLiteral("Deux|http://deux/"),
                                              QStringLiteral("Three|http://3/"),
                                              QStringLiteral("Bulk 0|http://b/0")}));
        QCOMPARE(rows.last(), QStringLiteral("Bulk 49|http://b/49"));
        // Beside the file, only the backup made before its first change.
        QCOMPARE(folder().entries(),
                 (QStringList{QStringLiteral("Favorites.xml"), QStringLiteral("backups")}));
    }

    void discardedOrFailedChangeLeavesTheFileAsItWas_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("discarded") << 0 << QString();
        QTest::newRow("no record at the position")
            << 1 << QStringLiteral("no record at position 7");
        QTest::newRow("text XML cannot hold") << 2 << QStringLiteral("XML cannot store");
    }

    void discardedOrFailedChangeLeavesTheFileAsItWas()
    {
        QFETCH(int, kind);
        QFETCH(QString, message);
        const QByteArray before = TestFiles::Read(favoritesPath());
        const FavoritesResult result = store().Modify([&](CFavoritesChange& change) {
            change.Append(QStringLiteral("Half"), QStringLiteral("http://half/"));
            if (kind == 1)
                change.Remove(7);
            else if (kind == 2)
                change.Append(QStringLiteral("Bell\a"), QStringLiteral("http://bell/"));
            return Code::Gone;
        });
        QCOMPARE(TestFiles::Read(favoritesPath()), before);
        QCOMPARE(folder().entries(), QStringList{QStringLiteral("Favorites.xml")});
        if (message.isEmpty()) {
            QCOMPARE(result.code, Code::Gone);
        } else {
            QCOMPARE(result.code, Code::Failed);
            QCOMPARE(result.path, favoritesPath());
            QVERIFY2(result.reason.contains(message), qPrintable(result.reason));
        }
    }
};

KESTRIN_CORE_TEST_MAIN(FavoritesChangeTest)
#include "tst_favoriteschange.moc"
