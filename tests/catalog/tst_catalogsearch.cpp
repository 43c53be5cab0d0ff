// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "catalog/CatalogSearch.h"
#include "support/CoreTestMain.h"

namespace {
// The entries (by number) that a query finds.
QList<int> found(const CatalogSearch& search, const QString& query)
{
    const std::vector<bool> matches = search.Match(CatalogSearch::Words(query));
    QList<int> result;
    for (std::size_t i = 0; i < matches.size(); ++i) {
        if (matches[i])
            result.append(int(i));
    }
    return result;
}
} // namespace

class CatalogSearchTest : public QObject
{
    Q_OBJECT

private slots:
    void wordsIgnoreCaseAccentsAndPunctuation_data();
    void wordsIgnoreCaseAccentsAndPunctuation();
    void everyWordMustStartAWordOfSomeText();
    void accentsAndCaseMatchEitherWay();
    void textsOfOneEntryDoNotRunIntoTheNext();
    void queryWithoutWordsFindsEverything();
};

void CatalogSearchTest::wordsIgnoreCaseAccentsAndPunctuation_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("words");
    QTest::newRow("hyphen and case")
        << "Tri-State Livestock NEWS" << QStringList{"tri", "state", "livestock", "news"};
    QTest::newRow("postal code in brackets")
        << "[SD]South Dakota" << QStringList{"sd", "south", "dakota"};
    QTest::newRow("host name") << "www.tsln.com" << QStringList{"www", "tsln", "com"};
    QTest::newRow("accents") << "Montréal, Québec" << QStringList{"montreal", "quebec"};
    QTest::newRow("letters without a separate accent")
        << "Łódź Straße Ærø Œuvre" << QStringList{"lodz", "strasse", "aero", "oeuvre"};
    QTest::newRow("apostrophes join")
        << "O'Neill Citizens’ News" << QStringList{"oneill", "citizens", "news"};
    QTest::newRow("initials") << "Washington, D.C." << QStringList{"washington", "d", "c"};
    QTest::newRow("digits stay in their word")
        << "Madison365 & 24/7" << QStringList{"madison365", "24", "7"};
    QTest::newRow("ligature and full width") << "ﬁeld ＡＢＣ" << QStringList{"field", "abc"};
    QTest::newRow("nothing but punctuation") << " -- & ... " << QStringList{};
}

void CatalogSearchTest::wordsIgnoreCaseAccentsAndPunctuation()
{
    QFETCH(QString, text);
    QFETCH(QStringList, words);
    QCOMPARE(CatalogSearch::Words(text), words);
}

void CatalogSearchTest::everyWordMustStartAWordOfSomeText()
{
    CatalogSearch search;
    search.Add({u"Tri-State Livestock News", u"[SD]South Dakota", u"www.tsln.com", u"Sturgis",
                u"Special interest"});
    search.Add({u"Rapid City Journal", u"[SD]South Dakota", u"rapidcityjournal.com", u"Rapid City",
                u"Daily newspapers"});
    search.Add({u"Livestock Weekly", u"[TX]Texas", u"livestockweekly.com", u"San Angelo",
                u"Special interest"});
    QCOMPARE(search.size(), 3);

    QCOMPARE(found(search, QStringLiteral("sturgis")), QList<int>{0});
    QCOMPARE(found(search, QStringLiteral("sd livestock")), QList<int>{0});
    QCOMPARE(found(search, QStringLiteral("livestock SD")), QList<int>{0});
    QCOMPARE(found(search, QStringLiteral("tsln")), QList<int>{0});
    QCOMPARE(found(search, QStringLiteral("livestock")), (QList<int>{0, 2}));
    QCOMPARE(found(search, QStringLiteral("special")), (QList<int>{0, 2}));
    QCOMPARE(found(search, QStringLiteral("south dak")), (QList<int>{0, 1}));
    QCOMPARE(found(search, QStringLiteral("rapid journal daily")), QList<int>{1});
    // A word inside another word is no word start; one missing word rules the entry out.
    QCOMPARE(found(search, QStringLiteral("stock")), QList<int>{});
    QCOMPARE(found(search, QStringLiteral("ournal")), QList<int>{});
    QCOMPARE(found(search, QStringLiteral("sturgis texas")), QList<int>{});
    // The same word twice is still one word to find.
    QCOMPARE(found(search, QStringLiteral("tri tri")), QList<int>{0});
}

void CatalogSearchTest::accentsAndCaseMatchEitherWay()
{
    CatalogSearch search;
    search.Add({u"Montréal Gazette"});
    search.Add({u"Montreal Times"});
    search.Add({u"SÃO PAULO HERALD"});
    QCOMPARE(found(search, QStringLiteral("montreal")), (QList<int>{0, 1}));
    QCOMPARE(found(search, QStringLiteral("MONTRÉAL")), (QList<int>{0, 1}));
    QCOMPARE(found(search, QStringLiteral("montre gaz")), QList<int>{0});
    QCOMPARE(found(search, QStringLiteral("sao paulo")), QList<int>{2});
    QCOMPARE(found(search, QStringLiteral("São")), QList<int>{2});
}

void CatalogSearchTest::textsOfOneEntryDoNotRunIntoTheNext()
{
    CatalogSearch search;
    search.Add({u"Alpha"});
    search.Add({u"Beta"});
    search.Add({});
    search.Add({u"Gamma", u"alpha beta"});
    // "alpha beta" is found only where both words are the entry's own.
    QCOMPARE(found(search, QStringLiteral("alpha beta")), QList<int>{3});
    QCOMPARE(found(search, QStringLiteral("beta")), (QList<int>{1, 3}));
    search.Clear();
    QCOMPARE(search.size(), 0);
    QCOMPARE(found(search, QStringLiteral("alpha")), QList<int>{});
}

void CatalogSearchTest::queryWithoutWordsFindsEverything()
{
    CatalogSearch search;
    search.Add({u"Alpha"});
    search.Add({u"Beta"});
    QCOMPARE(found(search, QStringLiteral("  - ")), (QList<int>{0, 1}));
}

KESTRIN_CORE_TEST_MAIN(CatalogSearchTest)
#include "tst_catalogsearch.moc"
