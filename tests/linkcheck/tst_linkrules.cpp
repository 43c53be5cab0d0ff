// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "catalog/CatalogData.h"
#include "linkcheck/LinkFinding.h"
#include "linkcheck/LinkTargets.h"
#include "linkcheck/LinkVerdict.h"
#include "support/TestMain.h"

#include <QLocale>

class LinkRulesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom)); }

    void sameSiteAllowsSchemeAndWwwChangesOnly_data();
    void sameSiteAllowsSchemeAndWwwChangesOnly();
    void statusCodesMapToVerdicts();
    void tooltipsSayWhatWasFoundAndWhen();
    void resultsFileNamesRoundTrip();
    void targetsCoverFavoritesAndEveryCatalogSiteOnce();
};

void LinkRulesTest::sameSiteAllowsSchemeAndWwwChangesOnly_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<bool>("same");
    QTest::newRow("http to https") << "http://paper.com/"
                                   << "https://paper.com/" << true;
    QTest::newRow("adds www") << "http://paper.com/"
                              << "https://www.paper.com/" << true;
    QTest::newRow("drops www") << "https://www.paper.com/"
                               << "https://paper.com/news" << true;
    QTest::newRow("host case") << "https://Paper.COM/"
                               << "https://paper.com/" << true;
    QTest::newRow("another port") << "http://paper.com/"
                                  << "http://paper.com:8080/" << true;
    QTest::newRow("subdomain") << "https://paper.com/"
                               << "https://news.paper.com/" << false;
    QTest::newRow("owner's site") << "https://paper.com/"
                                  << "https://chain.com/paper" << false;
    QTest::newRow("suffix only") << "https://paper.com/"
                                 << "https://newpaper.com/" << false;
    QTest::newRow("www alone is a host") << "https://www./"
                                         << "https://www/" << false;
    QTest::newRow("not a web scheme") << "https://paper.com/"
                                      << "ftp://paper.com/" << false;
}

void LinkRulesTest::sameSiteAllowsSchemeAndWwwChangesOnly()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(bool, same);
    QCOMPARE(LinkVerdict::SameSite(QUrl(from), QUrl(to)), same);
}

void LinkRulesTest::statusCodesMapToVerdicts()
{
    using Answer = LinkVerdict::Answer;
    QCOMPARE(LinkVerdict::ForHttpStatus(200), Answer::Alive);
    QCOMPARE(LinkVerdict::ForHttpStatus(299), Answer::Alive);
    QCOMPARE(LinkVerdict::ForHttpStatus(404), Answer::Dead);
    QCOMPARE(LinkVerdict::ForHttpStatus(410), Answer::Dead);
    QCOMPARE(LinkVerdict::ForHttpStatus(500), Answer::ServerError);
    QCOMPARE(LinkVerdict::ForHttpStatus(599), Answer::ServerError);
    for (const int unsure : {300, 304, 400, 401, 403, 405, 429, 451, 600, 0})
        QCOMPARE(LinkVerdict::ForHttpStatus(unsure), Answer::Unsure);
    QVERIFY(LinkVerdict::IsRedirect(308));
    QVERIFY(!LinkVerdict::IsRedirect(304));

    QCOMPARE(LinkVerdict::ForNetworkError(QNetworkReply::HostNotFoundError),
             LinkResult::Status::Dead);
    QCOMPARE(LinkVerdict::ForNetworkError(QNetworkReply::ConnectionRefusedError),
             LinkResult::Status::Dead);
    QCOMPARE(LinkVerdict::ForNetworkError(QNetworkReply::SslHandshakeFailedError),
             LinkResult::Status::Unsure);
    QCOMPARE(LinkVerdict::ForNetworkError(QNetworkReply::TimeoutError), LinkResult::Status::Unsure);
}

void LinkRulesTest::tooltipsSayWhatWasFoundAndWhen()
{
    LinkResult result;
    result.checked = QDateTime(QDate(2026, 12, 8), QTime(12, 0), Qt::UTC);
    result.status = LinkResult::Status::Dead;
    result.error = QStringLiteral("connection refused");
    QCOMPARE(LinkFinding::ToolTip(result),
             QStringLiteral("Not reachable on 8 Dec 2026: connection refused"));
    result.error.clear();
    result.httpStatus = 404;
    QCOMPARE(LinkFinding::ToolTip(result),
             QStringLiteral("Not reachable on 8 Dec 2026: page not found (404)"));
    result.httpStatus = 503;
    result.error = QStringLiteral("twice");
    QCOMPARE(LinkFinding::Details(result), QStringLiteral("server error (503), twice"));

    result.status = LinkResult::Status::Moved;
    result.httpStatus = 301;
    result.error.clear();
    result.newUrl = QStringLiteral("https://chain.example/paper/");
    QCOMPARE(LinkFinding::ToolTip(result),
             QStringLiteral("Moved to https://chain.example/paper/ (found on 8 Dec 2026)"));

    result = {};
    result.checked = QDateTime(QDate(2026, 1, 31), QTime(23, 0), Qt::UTC);
    result.status = LinkResult::Status::Unsure;
    result.httpStatus = 403;
    QVERIFY(LinkFinding::ToolTip(result).startsWith(QLatin1String("Could not be checked on ")));
    QVERIFY(LinkFinding::ToolTip(result).endsWith(QLatin1String(": access refused (403)")));
}

void LinkRulesTest::resultsFileNamesRoundTrip()
{
    for (const auto status : {LinkResult::Status::Alive, LinkResult::Status::Moved,
                              LinkResult::Status::Dead, LinkResult::Status::Unsure}) {
        LinkResult::Status back = LinkResult::Status::Alive;
        QVERIFY(LinkFinding::StatusFromName(LinkFinding::StatusName(status), back));
        QCOMPARE(back, status);
    }
    LinkResult::Status unchanged = LinkResult::Status::Moved;
    QVERIFY(!LinkFinding::StatusFromName(QStringLiteral("Dead"), unchanged));
    QCOMPARE(unchanged, LinkResult::Status::Moved);
}

void LinkRulesTest::targetsCoverFavoritesAndEveryCatalogSiteOnce()
{
    const QList<FavoriteRecord> favorites{
        {QStringLiteral("My paper"), QStringLiteral("https://mine.example/")},
        {QStringLiteral("No address"), QString()},
        {QStringLiteral("Also national"), QString::fromUtf8(CatalogData::National()[0].url)},
    };
    const QList<LinkTarget> targets = LinkTargets::Collect(favorites);
    qsizetype catalog = CatalogData::National().size() + CatalogData::World().size();
    for (const CatalogNode& node : CatalogData::States())
        catalog += static_cast<qsizetype>(node.entries.size());
    QCOMPARE(targets.size(), catalog + 3);
    QVERIFY(targets[0].favorite);
    QCOMPARE(targets[0].node, QStringLiteral("My Favorites"));
    QCOMPARE(targets.last().node, QString::fromUtf8(CatalogData::States().back().text));
    QVERIFY(!targets.last().favorite);

    const QStringList addresses = LinkTargets::Addresses(targets);
    QCOMPARE(QSet<QString>(addresses.begin(), addresses.end()).size(), addresses.size());
    QVERIFY(!addresses.contains(QString()));
    QCOMPARE(addresses.first(), QStringLiteral("https://mine.example/"));
}

KESTRIN_TEST_MAIN(LinkRulesTest)
#include "tst_linkrules.moc"
