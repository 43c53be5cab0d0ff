// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FavoritesTestCase.h"
#include "favorites/CBookmarksReader.h"
#include "favorites/CBookmarksWriter.h"
#include "favorites/CFavoritesStore.h"
#include "favorites/CXmlDocument.h"
#include "favorites/CXmlTestSeam.h"
#include "favorites/ui/CBookmarksTransfer.h"
#include "support/MessageCapture.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QDir>

#include <memory>

namespace {
QString fixture(const char* name)
{
    return QDir(TestFiles::TestDataDir())
        .filePath(QStringLiteral("bookmarks/") + QLatin1String(name));
}

// A bookmarks file as a browser with many bookmarks writes it: count links spread over
// folders ten deep at most.
QByteArray manyLinks(int count)
{
    QByteArray html = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<META HTTP-EQUIV=\"Content-Type\" "
                      "CONTENT=\"text/html; charset=UTF-8\">\n<TITLE>Bookmarks</TITLE>\n"
                      "<H1>Bookmarks</H1>\n<DL><p>\n";
    int open = 0;
    for (int i = 0; i < count; ++i) {
        if (i % 500 == 0) {
            if (open == 10) {
                for (; open > 0; --open)
                    html += "</DL><p>\n";
            }
            html += QStringLiteral("<DT><H3 ADD_DATE=\"1700000000\">Folder %1</H3>\n<DL><p>\n")
                        .arg(i / 500)
                        .toUtf8();
            ++open;
        }
        html += QStringLiteral("<DT><A HREF=\"https://paper%1.example.com/news?id=%1&amp;x=y\" "
                               "ADD_DATE=\"1700000001\" ICON=\"data:image/png;base64,AAAA\">Paper "
                               "n\u00b0 %1</A>\n")
                    .arg(i)
                    .toUtf8();
    }
    for (; open > 0; --open)
        html += "</DL><p>\n";
    return html + "</DL><p>\n";
}
} // namespace

class BookmarksTest : public FavoritesTestCase
{
    Q_OBJECT

private:
    [[nodiscard]] QStringList backups() const
    {
        return QDir(path(QStringLiteral("backups")))
            .entryList({QStringLiteral("*.xml")}, QDir::Files | QDir::Hidden);
    }

private slots:
    void browserExportsGiveTheirWebLinksInFileOrder_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("links");
        QTest::addColumn<int>("notWeb");
        QTest::newRow("Firefox: nested folders, entities, a place: and a javascript: link")
            << fixture("firefox.html")
            << QStringList{QStringLiteral("Le Monde – Actualités|https://www.lemonde.fr/"),
                           QStringLiteral(
                               "The New York Times & World|"
                               "https://www.nytimes.com/section/world?page=2&sort=newest"),
                           QStringLiteral(
                               "Süddeutsche Zeitung – München|http://www.sueddeutsche.de/muenchen"),
                           QStringLiteral("朝日新聞デジタル|https://www.asahi.com/"),
                           QStringLiteral("Le Monde again|https://www.lemonde.fr/"),
                           QStringLiteral(
                               "The Guardian <UK edition>|https://www.theguardian.com/uk")}
            << 2;
        QTest::newRow("Chromium: icons, chrome: and mailto: links, an upper-case scheme")
            << fixture("chromium.html")
            << QStringList{QStringLiteral("The Washington Post|https://www.washingtonpost.com/"),
                           QStringLiteral("MARCA - Diario online líder en información deportiva|"
                                          "https://www.marca.com/"),
                           QStringLiteral("La Gazzetta dello Sport|https://www.gazzetta.it/"),
                           QStringLiteral("EL PAÍS|HTTPS://WWW.ELPAIS.COM/"),
                           QStringLiteral("Chicago Tribune|https://www.chicagotribune.com/")}
            << 2;
        QTest::newRow("older browser: upper case, <p> after <DL>, windows-1252")
            << fixture("legacy.html")
            << QStringList{QStringLiteral("Netscape Netcenter|http://home.netscape.com/"),
                           QStringLiteral(
                               "Le Figaro – l’actualité en continu|http://www.lefigaro.fr/"),
                           QStringLiteral("The Weather Channel • € prices|http://www.weather.com/"),
                           QStringLiteral("DIE ZEIT » Nachrichten|http://www.zeit.de/")}
            << 2;
    }

    void browserExportsGiveTheirWebLinksInFileOrder()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, links);
        QFETCH(int, notWeb);
        CBookmarksReader::Result result;
        QString error;
        QVERIFY2(CBookmarksReader::ReadFile(file, result, error), qPrintable(error));
        QCOMPARE(FavoritesFolder::rows(result.links), links);
        QCOMPARE(result.notWeb, notWeb);
    }

    void filesThatAreNotBookmarksAreRefusedAndChangeNothing_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a news page full of links")
            << fixture("not-bookmarks.html") << QStringLiteral("not a bookmarks file");
        QTest::newRow("a picture") << fixture("photo.png") << QStringLiteral("not even text");
        QTest::newRow("an empty file")
            << QStringLiteral("empty.html") << QStringLiteral("not a bookmarks file");
        QTest::newRow("no file at all")
            << QStringLiteral("missing.html") << QStringLiteral("No such file");
    }

    void filesThatAreNotBookmarksAreRefusedAndChangeNothing()
    {
        QFETCH(QString, file);
        QFETCH(QString, reason);
        QVERIFY(TestFiles::Write(path(QStringLiteral("empty.html")), QByteArray()));
        writeFavorites({{QStringLiteral("Kept"), QStringLiteral("http://kept.example/")}});
        const QByteArray before = TestFiles::Read(favoritesPath());
        const QString chosen = QDir(folder().path()).filePath(file);

        MessageCapture messages;
        QVERIFY(!CBookmarksTransfer::Import(store(), chosen));
        QCOMPARE(messages.texts().size(), 1);
        const QString text = messages.texts().first();
        QVERIFY2(text.startsWith(QStringLiteral("The file %1 cannot be imported: ")
                                     .arg(QDir::toNativeSeparators(chosen))) &&
                     text.contains(reason) && text.endsWith(QStringLiteral("Nothing was changed.")),
                 qPrintable(text));
        QCOMPARE(TestFiles::Read(favoritesPath()), before);
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("backups"))));
    }

    void importAddsNewAddressesInOneSaveAndSaysWhatHappened()
    {
        writeFavorites({{QStringLiteral("Le Monde"), QStringLiteral("https://www.lemonde.fr/")},
                        {QStringLiteral("Local"), QStringLiteral("http://local.example/")}});
        const QByteArray before = TestFiles::Read(favoritesPath());
        MessageCapture messages;
        QVERIFY(CBookmarksTransfer::Import(store(), fixture("firefox.html")));
        QCOMPARE(messages.texts(),
                 QStringList{QStringLiteral("Bookmarks imported from %1.\n4 added, 2 already in My "
                                            "Favorites, 2 skipped: not web addresses.")
                                 .arg(QDir::toNativeSeparators(fixture("firefox.html")))});
        QCOMPARE(
            readRows(),
            (QStringList{
                QStringLiteral("Le Monde|https://www.lemonde.fr/"),
                QStringLiteral("Local|http://local.example/"),
                QStringLiteral("The New York Times & World|"
                               "https://www.nytimes.com/section/world?page=2&sort=newest"),
                QStringLiteral("Süddeutsche Zeitung – München|http://www.sueddeutsche.de/muenchen"),
                QStringLiteral("朝日新聞デジタル|https://www.asahi.com/"),
                QStringLiteral("The Guardian <UK edition>|https://www.theguardian.com/uk")}));
        // The list as it was went to the backups first.
        QCOMPARE(backups().size(), 1);
        QCOMPARE(TestFiles::Read(path(QStringLiteral("backups/")) + backups().first()), before);

        // The same file again adds nothing, writes nothing and needs no backup.
        const QByteArray imported = TestFiles::Read(favoritesPath());
        messages.clear();
        QVERIFY(CBookmarksTransfer::Import(store(), fixture("firefox.html")));
        QVERIFY2(messages.texts().value(0).endsWith(
                     QStringLiteral("0 added, 6 already in My Favorites, 2 skipped: not web "
                                    "addresses.")),
                 qPrintable(messages.texts().value(0)));
        QCOMPARE(TestFiles::Read(favoritesPath()), imported);
        QCOMPARE(backups().size(), 1);
    }

    void importOfTenThousandLinks()
    {
        writeFavorites({});
        const QString file = path(QStringLiteral("many.html"));
        QVERIFY(TestFiles::Write(file, manyLinks(10000)));
        CFavoritesStore::ImportSummary summary;
        CBookmarksReader::Result bookmarks;
        QString error;
        QVERIFY2(CBookmarksReader::ReadFile(file, bookmarks, error), qPrintable(error));
        MessageCapture messages;
        QVERIFY(store().Import(bookmarks.links, bookmarks.notWeb, summary));
        QVERIFY(messages.texts().isEmpty());
        QCOMPARE(summary.added, 10000);
        QCOMPARE(summary.alreadyThere + summary.notWeb, 0);
        const QStringList rows = readRows();
        QCOMPARE(rows.size(), 10000);
        QCOMPARE(rows.first(),
                 QStringLiteral("Paper n° 0|https://paper0.example.com/news?id=0&x=y"));
        QCOMPARE(rows.at(7777),
                 QStringLiteral("Paper n° 7777|https://paper7777.example.com/news?id=7777&x=y"));
        QCOMPARE(rows.last(),
                 QStringLiteral("Paper n° 9999|https://paper9999.example.com/news?id=9999&x=y"));
    }

    void exportEscapesMarkupAndReimportsExactly()
    {
        const TestFiles::Records records{
            {QStringLiteral("Fish & Chips <Daily> \"Gazette\" it's"),
             QStringLiteral("https://fish.example/a?b=1&c=\"2\"&d=<3>")},
            {QStringLiteral("Ελληνικά νέα – 日本語 – Ça va 😀"),
             QStringLiteral("https://ελληνικά.example/日本?q=é")},
            {QStringLiteral("A  name  with  double  spaces"),
             QStringLiteral("http://spaces.example/")},
            {QStringLiteral("Same address, another name"),
             QStringLiteral("http://spaces.example/x")},
        };
        writeFavorites(records);
        const QStringList expected = readRows();
        const QString exported = path(QStringLiteral("out/bookmarks.html"));
        QVERIFY(QDir(folder().path()).mkdir(QStringLiteral("out")));

        MessageCapture messages;
        QVERIFY(CBookmarksTransfer::Export(store(), exported));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("4 favorites exported to %1.")
                                                   .arg(QDir::toNativeSeparators(exported))});
        const QString html = QString::fromUtf8(TestFiles::Read(exported));
        QVERIFY(html.startsWith(QStringLiteral("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n")));
        QVERIFY(html.contains(QStringLiteral(
            "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">")));
        QVERIFY(html.contains(QStringLiteral("<DT><H3>Kestrin News Reader</H3>")));
        QVERIFY(html.contains(QStringLiteral(
            "<A HREF=\"https://fish.example/a?b=1&amp;c=&quot;2&quot;&amp;d=&lt;3&gt;\">Fish "
            "&amp; Chips &lt;Daily&gt; &quot;Gazette&quot; it's</A>")));
        QVERIFY(html.contains(QStringLiteral(">Ελληνικά νέα – 日本語 – Ça va 😀</A>")));
        QCOMPARE(QDir(path(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("bookmarks.html")});

        // Into an empty list: the same records, in the same order.
        writeFavorites({});
        messages.clear();
        QVERIFY(CBookmarksTransfer::Import(store(), exported));
        QVERIFY2(messages.texts().value(0).endsWith(
                     QStringLiteral("4 added, 0 already in My Favorites, 0 skipped: not web "
                                    "addresses.")),
                 qPrintable(messages.texts().value(0)));
        QCOMPARE(readRows(), expected);
    }

    void exportThatCannotBeWrittenKeepsTheOldFile()
    {
        writeFavorites({{QStringLiteral("One"), QStringLiteral("http://one.example/")}});
        const QString exported = path(QStringLiteral("bookmarks.html"));
        QVERIFY(TestFiles::Write(exported, "an earlier export"));
        CXmlTestSeam::SetFailures({xml::S_OK, {}, -1, 10});

        MessageCapture messages;
        QVERIFY(!CBookmarksTransfer::Export(store(), exported));
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY2(messages.texts().first().startsWith(
                     QStringLiteral("My Favorites could not be exported to %1.\n")
                         .arg(QDir::toNativeSeparators(exported))) &&
                     messages.texts().first().contains(QStringLiteral("No space left on device")),
                 qPrintable(messages.texts().first()));
        QCOMPARE(TestFiles::Read(exported), QByteArray("an earlier export"));
        QCOMPARE(QDir(folder().path()).entryList(QDir::Files).filter(QStringLiteral(".tmp")),
                 QStringList());
    }

    void nothingIsExportedFromAnEmptyOrUnreadableList_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty list") << TestFiles::FavoritesXml({})
                                    << QStringLiteral("My Favorites is empty: there is nothing to "
                                                      "export.");
        QTest::newRow("broken file")
            << QByteArray("<Favorites><Favorite>") << QStringLiteral("cannot be read");
        QTest::newRow("another root")
            << QByteArray("<Bookmarks/>") << QStringLiteral("It has no Favorites root element");
    }

    void nothingIsExportedFromAnEmptyOrUnreadableList()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QVERIFY(TestFiles::Write(favoritesPath(), content));
        const QString exported = path(QStringLiteral("bookmarks.html"));
        MessageCapture messages;
        QVERIFY(!CBookmarksTransfer::Export(store(), exported));
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY2(messages.texts().first().contains(message), qPrintable(messages.texts().first()));
        QVERIFY(!QFileInfo::exists(exported));
    }
};

KESTRIN_TEST_MAIN(BookmarksTest)
#include "tst_bookmarks.moc"
