// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FavoritesTestCase.h"
#include "favorites/FavoriteMatch.h"
#include "support/CoreTestMain.h"
#include "support/TestFiles.h"

#include <QProcess>
#include <QSignalSpy>

namespace {
const TestFiles::Records kTwo{{QStringLiteral("Globe"), QStringLiteral("http://globe/")},
                              {QStringLiteral("Times"), QStringLiteral("http://times/")}};

FavoriteRecord record(const char* title, const char* url)
{
    return {QString::fromUtf8(title), QString::fromUtf8(url)};
}

// The rows a favoritesChanged signal carried, with where the change came from.
QStringList told(const QSignalSpy& spy, qsizetype at, FavoritesUpdate::Origin* origin = nullptr)
{
    const auto update = spy.at(at).first().value<FavoritesUpdate>();
    if (origin)
        *origin = update.origin;
    return FavoritesFolder::rows(update.records);
}
} // namespace

// The engine as the program's lists meet it, with no widget anywhere: one signal for every
// change, carrying the whole list, whoever made it.
class FavoritesEngineTest : public FavoritesTestCase
{
    Q_OBJECT

private slots:
    void init()
    {
        FavoritesTestCase::init();
        writeFavorites(kTwo);
    }

    void everyChangeHereTellsTheWholeListOnce()
    {
        QSignalSpy spy(&store(), &CFavoritesStore::favoritesChanged);
        QVERIFY(store().Update(CFavoritesStore::Add, QStringLiteral("Post"),
                               QStringLiteral("http://post/")));
        QVERIFY(store().Edit({0, record("Globe", "http://globe/")}, QStringLiteral("Globe"),
                             QStringLiteral("https://globe/")));
        QVERIFY(store().ChangeAddress(QStringLiteral("Times"), QStringLiteral("http://times/"),
                                      QStringLiteral("https://times/")));
        QVERIFY(store().DeleteRecords({{2, record("Post", "http://post/")}}));
        CFavoritesStore::ImportSummary summary;
        QVERIFY(store().Import({record("Sun", "http://sun/")}, 0, summary));
        QCOMPARE(spy.size(), 5);
        FavoritesUpdate::Origin origin = FavoritesUpdate::Origin::Elsewhere;
        QCOMPARE(told(spy, 0, &origin),
                 (QStringList{"Globe|http://globe/", "Times|http://times/", "Post|http://post/"}));
        QCOMPARE(origin, FavoritesUpdate::Origin::ThisCopy);
        QCOMPARE(told(spy, 4, &origin),
                 (QStringList{"Globe|https://globe/", "Times|https://times/", "Sun|http://sun/"}));
        QCOMPARE(origin, FavoritesUpdate::Origin::ThisCopy);

        // Refusals and changes that change nothing say nothing.
        QCOMPARE(
            store()
                .Update(CFavoritesStore::Add, QStringLiteral("Sun"), QStringLiteral("http://sun/"))
                .code,
            Code::Duplicate);
        QCOMPARE(store().Import({record("Sun", "http://sun/")}, 0, summary).code, Code::Unchanged);
        QCOMPARE(spy.size(), 5);

        // A restore is a change too.
        QVERIFY(TestFiles::Write(
            path(QStringLiteral("old.xml")),
            TestFiles::FavoritesXml({{QStringLiteral("Old"), QStringLiteral("http://old/")}})));
        QVERIFY(store().Restore(path(QStringLiteral("old.xml"))));
        QCOMPARE(spy.size(), 6);
        QCOMPARE(told(spy, 5), QStringList{"Old|http://old/"});
    }

    void aChangeThatFindsTheFileChangedElsewhereTellsWhatItFound()
    {
        QList<FavoriteRecord> shown;
        QVERIFY(store().ReadAll(shown));
        QSignalSpy spy(&store(), &CFavoritesStore::favoritesChanged);
        // Times went behind the program's back; deleting it now is no success.
        writeFavorites({kTwo.first()});
        const QByteArray before = TestFiles::Read(favoritesPath());
        const FavoritesResult result = store().DeleteRecords({{1, shown.at(1)}});
        QCOMPARE(result.code, Code::Gone);
        QCOMPARE(TestFiles::Read(favoritesPath()), before);
        QCOMPARE(spy.size(), 1);
        FavoritesUpdate::Origin origin = FavoritesUpdate::Origin::ThisCopy;
        QCOMPARE(told(spy, 0, &origin), QStringList{"Globe|http://globe/"});
        QCOMPARE(origin, FavoritesUpdate::Origin::Elsewhere);
        // Told once: the next refusal finds what the lists know already.
        QCOMPARE(store()
                     .Update(CFavoritesStore::Delete, QStringLiteral("Times"),
                             QStringLiteral("http://times/"))
                     .code,
                 Code::Gone);
        QCOMPARE(spy.size(), 1);
    }

    void anotherCopysChangeArrivesThroughTheWatch()
    {
        QList<FavoriteRecord> shown;
        QVERIFY(store().ReadAll(shown));
        store().Watch();
        QSignalSpy spy(&store(), &CFavoritesStore::favoritesChanged);
        QProcess writer;
        writer.start(QStringLiteral(KESTRIN_FAVORITES_WRITER),
                     {folder().path(), QStringLiteral("other"), QStringLiteral("1")});
        QVERIFY(writer.waitForFinished(60000));
        QCOMPARE(writer.exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(spy.size(), 1, 30000);
        FavoritesUpdate::Origin origin = FavoritesUpdate::Origin::ThisCopy;
        QCOMPARE(told(spy, 0, &origin), (QStringList{"Globe|http://globe/", "Times|http://times/",
                                                     "other 0|http://other.example/0"}));
        QCOMPARE(origin, FavoritesUpdate::Origin::Elsewhere);

        // This copy's own change is told once, not again when the watch sees the file move.
        QVERIFY(store().Update(CFavoritesStore::Add, QStringLiteral("Mine"),
                               QStringLiteral("http://mine/")));
        QCOMPARE(spy.size(), 2);
        QTest::qWait(3 * FavoritesWatch::kSettleMs);
        QCOMPARE(spy.size(), 2);

        // A file written in place, as some sync tools do, and then removed.
        {
            QFile file(favoritesPath());
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(TestFiles::FavoritesXml({kTwo.last()}));
        }
        QTRY_COMPARE_WITH_TIMEOUT(spy.size(), 3, 30000);
        QCOMPARE(told(spy, 2), QStringList{"Times|http://times/"});
        QVERIFY(QFile::remove(favoritesPath()));
        QTRY_COMPARE_WITH_TIMEOUT(spy.size(), 4, 30000);
        QCOMPARE(told(spy, 3), QStringList());
    }

    void matchKeepsWhatStaysAndPairsAnEditInPlace()
    {
        const QList<FavoriteRecord> three{record("A", "a"), record("B", "b"), record("C", "c")};
        // B edited where it stands.
        QCOMPARE(FavoriteMatch::continuations(
                     three, {record("A", "a"), record("B2", "b2"), record("C", "c")}),
                 (QList<qsizetype>{0, 1, 2}));
        // B deleted, D added at the end: nothing continues B.
        QCOMPARE(FavoriteMatch::continuations(
                     three, {record("A", "a"), record("C", "c"), record("D", "d")}),
                 (QList<qsizetype>{0, 2, -1}));
        // Twins continue in their order; one renamed where another stays now is new.
        QCOMPARE(
            FavoriteMatch::continuations({record("T", "t"), record("X", "x"), record("T", "t")},
                                         {record("T", "t"), record("T", "t")}),
            (QList<qsizetype>{0, 2}));
        QCOMPARE(FavoriteMatch::continuations(
                     {record("A", "a"), record("T", "t"), record("B", "b"), record("T", "t")},
                     {record("T", "t"), record("B", "b"), record("C", "c"), record("T", "t")}),
                 (QList<qsizetype>{1, 2, -1, 3}));
        QCOMPARE(FavoriteMatch::continuations({record("A", "a"), record("B", "b")},
                                              {record("B", "b"), record("A2", "a")}),
                 (QList<qsizetype>{1, -1}));
        QCOMPARE(FavoriteMatch::continuations({}, three), (QList<qsizetype>{-1, -1, -1}));
        QCOMPARE(FavoriteMatch::continuations(three, {}), QList<qsizetype>());
    }
};

KESTRIN_CORE_TEST_MAIN(FavoritesEngineTest)
#include "tst_favoritesengine.moc"
