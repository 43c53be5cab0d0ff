// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "feeds/FeedDate.h"
#include "feeds/FeedJson.h"
#include "feeds/FeedParser.h"
#include "feeds/FeedText.h"
#include "feeds/FeedXml.h"
#include "support/CoreTestMain.h"
#include "support/ScriptedHttpServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {
QString fixture(const QString& name)
{
    return qEnvironmentVariable("KESTRIN_TEST_DATA") + QStringLiteral("/feeds/") + name;
}

QByteArray read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray rssWithItems(int count)
{
    QByteArray xml = "<rss version=\"2.0\"><channel><title>Many</title>";
    for (int i = 0; i < count; ++i)
        xml += "<item><title>Story " + QByteArray::number(i) +
               "</title><link>http://many.example/" + QByteArray::number(i) + "</link></item>";
    return xml + "</channel></rss>";
}
} // namespace

// Feeds of every format and the tricky cases each has, read by the same parser the program
// and kestrin-feed-dump use.
class FeedParserTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { FeedXml::Initialize(); }
    void feedsReadAsWritten_data();
    void feedsReadAsWritten();
    void whatIsNoFeedIsRefusedWithAReason_data();
    void whatIsNoFeedIsRefusedWithAReason();
    void dates_data();
    void dates();
    void plainText_data();
    void plainText();
    void atMostAThousandItemsAreKept();
    void noDtdEntityOrNetworkIsRead();
    void dumpPrintsJsonAndRefusesWhatIsNoFeed();
};

void FeedParserTest::feedsReadAsWritten_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QByteArray>("charset");
    QTest::addColumn<QString>("expected");
    QTest::newRow("RSS 2.0: entities, CDATA, HTML title, guid, RFC 822 and Dublin Core dates")
        << "rss2.xml"
        << "https://ledger.example/feeds/rss.xml" << QByteArray() << "rss2.json";
    QTest::newRow("RSS 0.91: DOCTYPE, HTML entities, ISO-8859-1")
        << "rss091.xml"
        << "http://courrier.example/rss.xml" << QByteArray() << "rss091.json";
    QTest::newRow("RSS 1.0 (RDF): rdf:about, content:encoded, date only")
        << "rss1.rdf"
        << "http://gazette.example/rss" << QByteArray() << "rss1.json";
    QTest::newRow("Atom 1.0: xml:base, alternate links, text, html and xhtml, fractions")
        << "atom10.xml"
        << "https://herald.example/feed.atom" << QByteArray() << "atom10.json";
    QTest::newRow("Atom 0.3: issued, modified, escaped content")
        << "atom03.xml"
        << "http://riverpost.example/atom.xml" << QByteArray() << "atom03.json";
    QTest::newRow("JSON Feed 1.1")
        << "feed11.json"
        << "https://campus.example/feed.json" << QByteArray() << "feed11.json";
    QTest::newRow("JSON Feed 1.0: a number as id, no title")
        << "feed10.json"
        << "http://bayradio.example/feed.json" << QByteArray() << "feed10.json";
    QTest::newRow("malformed: bare &, unknown entity, unclosed tags, cut short")
        << "malformed.xml"
        << "http://mainstreet.example/rss" << QByteArray() << "malformed.json";
    QTest::newRow("UTF-16 with its mark")
        << "utf16.xml" << QString() << QByteArray() << "utf16.json";
    QTest::newRow("Windows-1252, declared")
        << "windows-1252.xml" << QString() << QByteArray() << "windows-1252.json";
    QTest::newRow("UTF-8 with its mark")
        << "utf8-bom.xml" << QString() << QByteArray() << "utf8-bom.json";
    QTest::newRow("ISO-8859-1, said by the server only")
        << "latin1-undeclared.xml" << QString() << QByteArray("iso-8859-1")
        << "latin1-undeclared.json";
    QTest::newRow("the server's charset does not overrule the document's")
        << "windows-1252.xml" << QString() << QByteArray("utf-8") << "windows-1252.json";
}

void FeedParserTest::feedsReadAsWritten()
{
    QFETCH(QString, file);
    QFETCH(QString, address);
    QFETCH(QByteArray, charset);
    QFETCH(QString, expected);
    const ParsedFeed feed = FeedParser::Parse(read(fixture(file)), QUrl(address), charset);
    QVERIFY2(feed.isFeed(), qPrintable(feed.error));
    QCOMPARE(QString::fromUtf8(FeedJson::OfFeed(feed)),
             QString::fromUtf8(read(fixture(QStringLiteral("expected/") + expected))));
}

void FeedParserTest::whatIsNoFeedIsRefusedWithAReason_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<QString>("reason");
    QTest::newRow("web page") << read(fixture(QStringLiteral("page.html")))
                              << "a web page, not a feed";
    QTest::newRow("other XML") << read(fixture(QStringLiteral("other.xml")))
                               << "XML, but not a feed (its root is <svg>)";
    QTest::newRow("empty") << QByteArray(" \n ") << "an empty document";
    QTest::newRow("text") << QByteArray("Service unavailable") << "neither XML nor JSON";
    QTest::newRow("other JSON") << QByteArray(R"({"items": []})") << "JSON, but not a JSON Feed";
    QTest::newRow("broken JSON") << QByteArray(R"({"version": )")
                                 << "JSON that cannot be read: unterminated object";
    QTest::newRow("too large") << QByteArray(FeedParser::kMaxBytes + 1, ' ')
                               << "larger than 10 MiB";
    QTest::newRow("RSS without a channel")
        << QByteArray("<rss version=\"2.0\"/>") << "an RSS document without a channel";
}

void FeedParserTest::whatIsNoFeedIsRefusedWithAReason()
{
    QFETCH(QByteArray, document);
    QFETCH(QString, reason);
    const ParsedFeed feed = FeedParser::Parse(document);
    QVERIFY(!feed.isFeed());
    QCOMPARE(feed.error, reason);
    QVERIFY(feed.items.isEmpty());
}

void FeedParserTest::dates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("utc"); // empty: no date
    QTest::newRow("RFC 822") << "Tue, 08 Dec 2026 09:00:00 GMT"
                             << "2026-12-08T09:00:00Z";
    QTest::newRow("no seconds") << "Tue, 08 Dec 2026 09:00 +0000"
                                << "2026-12-08T09:00:00Z";
    QTest::newRow("no day name") << "8 Dec 2026 09:00:00 EST"
                                 << "2026-12-08T14:00:00Z";
    QTest::newRow("two-digit year") << "Tue, 08 Dec 26 09:00:00 PDT"
                                    << "2026-12-08T16:00:00Z";
    QTest::newRow("last century") << "Fri, 31 Dec 99 23:59:59 UT"
                                  << "1999-12-31T23:59:59Z";
    QTest::newRow("numeric zone with colon") << "Tue, 08 Dec 2026 09:00:00 +05:30"
                                             << "2026-12-08T03:30:00Z";
    QTest::newRow("full month, day name without comma") << "Tuesday 8 December 2026 09:00:00 CET"
                                                        << "2026-12-08T08:00:00Z";
    QTest::newRow("month first") << "Tue, Dec 08 2026 09:00:00 -0800"
                                 << "2026-12-08T17:00:00Z";
    QTest::newRow("zone comment") << "Tue, 08 Dec 2026 09:00:00 +0000 (UTC)"
                                  << "2026-12-08T09:00:00Z";
    QTest::newRow("no zone") << "Tue, 08 Dec 2026 09:00:00"
                             << "";
    QTest::newRow("ambiguous zone") << "Tue, 08 Dec 2026 09:00:00 IST"
                                    << "";
    QTest::newRow("31 November") << "31 Nov 2026 09:00:00 GMT"
                                 << "";
    QTest::newRow("25 o'clock") << "08 Dec 2026 25:00:00 GMT"
                                << "";
    QTest::newRow("ISO with Z") << "2026-12-08T09:00:00Z"
                                << "2026-12-08T09:00:00Z";
    QTest::newRow("ISO fraction and offset") << "2026-12-08T10:00:00.123456+01:00"
                                             << "2026-12-08T09:00:00Z";
    QTest::newRow("ISO without seconds") << "2026-12-08T09:00-05:00"
                                         << "2026-12-08T14:00:00Z";
    QTest::newRow("ISO offset without colon") << "2026-12-08T09:00:00+0100"
                                              << "2026-12-08T08:00:00Z";
    QTest::newRow("ISO with a space") << "2026-12-08 09:00:00Z"
                                      << "2026-12-08T09:00:00Z";
    QTest::newRow("ISO date only") << "2026-12-08"
                                   << "2026-12-08T00:00:00Z";
    QTest::newRow("ISO without zone") << "2026-12-08T09:00:00"
                                      << "";
    QTest::newRow("ISO month 13") << "2026-13-08T09:00:00Z"
                                  << "";
    QTest::newRow("words") << "yesterday"
                           << "";
    QTest::newRow("empty") << ""
                           << "";
}

void FeedParserTest::dates()
{
    QFETCH(QString, text);
    QFETCH(QString, utc);
    const QDateTime parsed = FeedDate::Parse(text);
    QCOMPARE(parsed.isValid() ? parsed.toUTC().toString(Qt::ISODate) : QString(), utc);
}

void FeedParserTest::plainText_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("text");
    QTest::newRow("entities") << "Caf&eacute; &amp; bar&nbsp;&#8212;&#x2019;s"
                              << QStringLiteral("Café & bar —’s");
    QTest::newRow("markup goes, blocks part words")
        << "<p>One</p><p>Two <b>bold</b>er</p><br/>Three"
        << "One Two bolder Three";
    QTest::newRow("script and style text dropped")
        << "A<script>var x = '<p>';</script>B<STYLE>p{}</STYLE>C"
        << "ABC";
    QTest::newRow("comments") << "A<!-- <b>hidden</b> -->B"
                              << "AB";
    QTest::newRow("a lone < or & is text") << "1 < 2 & 3 > 2"
                                           << "1 < 2 & 3 > 2";
    QTest::newRow("unknown entity stays") << "&bogus; &#xZZ;"
                                          << "&bogus; &#xZZ;";
    QTest::newRow("white space collapsed") << "  a \n\t b  "
                                           << "a b";
    QTest::newRow("NUL reference") << "a&#0;b" << QStringLiteral("a\uFFFDb");
    QTest::newRow("quoted > in a tag") << "<a title=\"x > y\">link</a>"
                                       << "link";
}

void FeedParserTest::plainText()
{
    QFETCH(QString, html);
    QFETCH(QString, text);
    QCOMPARE(FeedText::FromHtml(html), text);
}

void FeedParserTest::atMostAThousandItemsAreKept()
{
    const ParsedFeed feed = FeedParser::Parse(rssWithItems(1200));
    QCOMPARE(feed.items.size(), FeedParser::kMaxItems);
    QCOMPARE(feed.items.first().title, QStringLiteral("Story 0"));
    QCOMPARE(feed.items.last().title, QStringLiteral("Story 999"));
    // Long summaries are cut between words.
    const ParsedFeed longOne = FeedParser::Parse(
        "<rss><channel><item><title>t</title><description>" + QByteArray(300, 'a') + ' ' +
        QByteArray(300, 'b') + "</description></item></channel></rss>");
    QCOMPARE(longOne.items.first().summary, QString(300, QLatin1Char('a')) + QChar(0x2026));
}

void FeedParserTest::noDtdEntityOrNetworkIsRead()
{
    QTemporaryDir dir;
    QFile secret(dir.filePath(QStringLiteral("secret.txt")));
    QVERIFY(secret.open(QIODevice::WriteOnly));
    secret.write("TOP-SECRET");
    secret.close();
    ScriptedHttpServer server;
    QVERIFY(server.start());

    QByteArray laughs = "<!ENTITY a0 \"ha\">";
    for (int i = 1; i < 12; ++i)
        laughs += "<!ENTITY a" + QByteArray::number(i) + " \"&a" + QByteArray::number(i - 1) +
                  ";&a" + QByteArray::number(i - 1) + ";&a" + QByteArray::number(i - 1) + ";\">";
    const QByteArray document =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE rss SYSTEM \"" +
        server.url(QStringLiteral("/rss.dtd")).toUtf8() + "\" [\n<!ENTITY secret SYSTEM \"file://" +
        secret.fileName().toUtf8() + "\">\n<!ENTITY remote SYSTEM \"" +
        server.url(QStringLiteral("/entity")).toUtf8() + "\">\n" + laughs +
        "]>\n<rss><channel><title>T</title><item><title>&secret;&remote;&a11;x</title>"
        "<link>http://safe.example/</link></item></channel></rss>";
    QElapsedTimer timer;
    timer.start();
    const ParsedFeed feed = FeedParser::Parse(document);
    QVERIFY(feed.isFeed());
    QCOMPARE(feed.items.size(), 1);
    QCOMPARE(feed.items.first().title, QStringLiteral("x"));
    QTest::qWait(100);
    QCOMPARE(server.requestCount(), 0);
}

void FeedParserTest::dumpPrintsJsonAndRefusesWhatIsNoFeed()
{
    QProcess dump;
    dump.start(QStringLiteral(KESTRIN_FEED_DUMP),
               {fixture(QStringLiteral("atom10.xml")),
                QStringLiteral("https://herald.example/feed.atom")});
    QVERIFY(dump.waitForFinished(30000));
    QCOMPARE(dump.exitCode(), 0);
    QCOMPARE(dump.readAllStandardOutput(), read(fixture(QStringLiteral("expected/atom10.json"))));

    dump.start(QStringLiteral(KESTRIN_FEED_DUMP), {fixture(QStringLiteral("page.html"))});
    QVERIFY(dump.waitForFinished(30000));
    QCOMPARE(dump.exitCode(), 1);
    QVERIFY(dump.readAllStandardOutput().isEmpty());
    QVERIFY(dump.readAllStandardError().contains("not a feed: a web page, not a feed"));
}

KESTRIN_CORE_TEST_MAIN(FeedParserTest)
#include "tst_feedparser.moc"
