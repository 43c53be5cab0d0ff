// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FavoritesTestCase.h"
#include "PermissionChecks.h"
#include "favorites/CFavoritesChange.h"
#include "favorites/CXmlDocument.h"
#include "favorites/CXmlTestSeam.h"
#include "support/CoreTestMain.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <sys/stat.h>

#include <memory>

namespace {
// The elements of a UTF-8 file in document order, leaves with their text.
QStringList outline(const QByteArray& xml)
{
    QStringList result;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString name = reader.name().toString();
        if (name == QLatin1String("title") || name == QLatin1String("url"))
            result.append(name + QLatin1Char('=') + reader.readElementText());
        else
            result.append(name);
    }
    return reader.hasError() ? QStringList{reader.errorString()} : result;
}
} // namespace

// The store on its own, without widgets: what it reads, writes and reports.
class FavoritesStoreTest : public FavoritesTestCase
{
    Q_OBJECT

private slots:
    void readRuleTakesFileOrderAndExactNames()
    {
        QVERIFY(TestFiles::Write(favoritesPath(), R"(<?xml version="1.0"?>
<Favorites>
  <Favorite><title>First</title><url>http://first/</url></Favorite>
  <Favorite><title>Old</title><url>http://two/</url><title>New</title></Favorite>
  <Favorite><Title>Capital</Title><url>http://case/</url><URL>http://no/</URL></Favorite>
  <Favorite><title>No address</title></Favorite>
  <Other><title>Hidden</title><url>http://hidden/</url></Other>
  <Favorite><!-- a note --><title> Spaced </title><url>http://last/</url></Favorite>
</Favorites>
)"));
        QCOMPARE(
            readRows(),
            (QStringList{QStringLiteral("First|http://first/"), QStringLiteral("New|http://two/"),
                         QStringLiteral("|http://case/"), QStringLiteral("No address|"),
                         QStringLiteral(" Spaced |http://last/")}));

        // Add and delete compare against every child of the root, whatever its name.
        const QByteArray before = TestFiles::Read(favoritesPath());
        QCOMPARE(store()
                     .Update(CFavoritesStore::Add, QStringLiteral("Hidden"),
                             QStringLiteral("http://hidden/"))
                     .code,
                 Code::Duplicate);
        QCOMPARE(TestFiles::Read(favoritesPath()), before);
        QVERIFY(store().Update(CFavoritesStore::Delete, QStringLiteral("Hidden"),
                               QStringLiteral("http://hidden/")));
        QVERIFY(!TestFiles::Read(favoritesPath()).contains("Hidden"));
        QCOMPARE(readRows().size(), 5);
    }

    void firstAddIntoEmptyRootWritesTitleThenUrl()
    {
        QVERIFY(TestFiles::Write(favoritesPath(), "<?xml version=\"1.0\"?>\n<Favorites/>\n"));
        QVERIFY(store().Update(CFavoritesStore::Add, QStringLiteral("Die Zeit & Co"),
                               QStringLiteral("http://zeit.de/?a=1&b=2")));
        const QByteArray written = TestFiles::Read(favoritesPath());
        QVERIFY(written.startsWith("<?xml version=\"1.0\""));
        QCOMPARE(outline(written),
                 (QStringList{QStringLiteral("Favorites"), QStringLiteral("Favorite"),
                              QStringLiteral("title=Die Zeit & Co"),
                              QStringLiteral("url=http://zeit.de/?a=1&b=2")}));
        QCOMPARE(readRows(), QStringList{QStringLiteral("Die Zeit & Co|http://zeit.de/?a=1&b=2")});
    }

    void addRefusesOnlyAnExactDuplicate()
    {
        QVERIFY(TestFiles::Write(
            favoritesPath(),
            TestFiles::FavoritesXml({{QStringLiteral("Times"), QStringLiteral("http://times/")}})));
        const QByteArray before = TestFiles::Read(favoritesPath());
        QCOMPARE(store()
                     .Update(CFavoritesStore::Add, QStringLiteral("Times"),
                             QStringLiteral("http://times/"))
                     .code,
                 Code::Duplicate);
        QCOMPARE(TestFiles::Read(favoritesPath()), before);
        QVERIFY(store().Update(CFavoritesStore::Add, QStringLiteral("Times"),
                               QStringLiteral("http://other/")));
        QVERIFY(store().Update(CFavoritesStore::Add, QStringLiteral("Post"),
                               QStringLiteral("http://times/")));
        QVERIFY(store().Update(CFavoritesStore::Add, QStringLiteral("times"),
                               QStringLiteral("http://times/")));
        QCOMPARE(readRows(), (QStringList{QStringLiteral("Times|http://times/"),
                                          QStringLiteral("Times|http://other/"),
                                          QStringLiteral("Post|http://times/"),
                                          QStringLiteral("times|http://times/")}));
    }

    void blanksAreTrimmedBeforeStoringAndMatching()
    {
        QVERIFY(TestFiles::Write(favoritesPath(), TestFiles::FavoritesXml({})));
        QVERIFY(store().Update(CFavoritesStore::Add, QStringLiteral(" \t\r\n\v\fGlobe \t"),
                               QStringLiteral("\nhttp://globe/\f")));
        QCOMPARE(readRows(), QStringList{QStringLiteral("Globe|http://globe/")});

        QCOMPARE(store()
                     .Update(CFavoritesStore::Add, QStringLiteral("Globe"),
                             QStringLiteral("  http://globe/  "))
                     .code,
                 Code::Duplicate);

        // Only the six ASCII blanks are trimmed: other spaces are part of the value.
        const QString wide = QStringLiteral("\u00A0Globe\u3000");
        QVERIFY(store().Update(CFavoritesStore::Add, wide, QStringLiteral("http://globe/")));
        QCOMPARE(readRows(), (QStringList{QStringLiteral("Globe|http://globe/"),
                                          wide + QStringLiteral("|http://globe/")}));

        QVERIFY(store().Update(CFavoritesStore::Delete, QStringLiteral("\tGlobe\n"),
                               QStringLiteral("http://globe/ ")));
        QCOMPARE(readRows(), QStringList{wide + QStringLiteral("|http://globe/")});

        // Nothing left after trimming: refused, with nothing to tell, file untouched.
        const QByteArray before = TestFiles::Read(favoritesPath());
        QCOMPARE(store()
                     .Update(CFavoritesStore::Add, QStringLiteral(" \t "),
                             QStringLiteral("http://globe/"))
                     .code,
                 Code::Blank);
        QCOMPARE(store().Update(CFavoritesStore::Delete, wide, QStringLiteral("\r\n")).code,
                 Code::Blank);
        QCOMPARE(TestFiles::Read(favoritesPath()), before);
    }

    void deleteRemovesOnlyTheFirstMatch()
    {
        QVERIFY(TestFiles::Write(
            favoritesPath(),
            TestFiles::FavoritesXml({{QStringLiteral("Twin"), QStringLiteral("http://1/")},
                                     {QStringLiteral("Other"), QStringLiteral("http://2/")},
                                     {QStringLiteral("Twin"), QStringLiteral("http://1/")},
                                     {QStringLiteral("Twin"), QStringLiteral("http://3/")}})));
        QVERIFY(store().Update(CFavoritesStore::Delete, QStringLiteral("Twin"),
                               QStringLiteral("http://1/")));
        QCOMPARE(readRows(),
                 (QStringList{QStringLiteral("Other|http://2/"), QStringLiteral("Twin|http://1/"),
                              QStringLiteral("Twin|http://3/")}));
    }

    void deleteOfAPairNoLongerStoredSaysSoAndChangesNothing()
    {
        const QByteArray original = "<Favorites><Favorite><title>A</title><url>http://a/</url>"
                                    "</Favorite><Favorite><title>B</title><url>http://b/</url>"
                                    "</Favorite></Favorites>";
        QVERIFY(TestFiles::Write(favoritesPath(), original));
        QCOMPARE(
            store()
                .Update(CFavoritesStore::Delete, QStringLiteral("A"), QStringLiteral("http://b/"))
                .code,
            Code::Gone);
        QCOMPARE(TestFiles::Read(favoritesPath()), original);
    }

    void failedUpdateLeavesFileIntact_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("reason");
        const QByteArray records =
            TestFiles::FavoritesXml({{QStringLiteral("One"), QStringLiteral("http://1/")},
                                     {QStringLiteral("Two"), QStringLiteral("http://2/")},
                                     {QStringLiteral("Three"), QStringLiteral("http://3/")}});
        QTest::newRow("missing file")
            << QByteArray() << QString() << QStringLiteral("No such file");
        QTest::newRow("malformed") << QByteArray("<Favorites><Favorite><title>x</Favorite>")
                                   << QString() << QStringLiteral("Not well-formed XML (line 1");
        QTest::newRow("another root") << QByteArray("<Bookmarks><Favorite/></Bookmarks>")
                                      << QString() << QStringLiteral("no Favorites root");
        QTest::newRow("read-only file")
            << records << QStringLiteral("file") << QStringLiteral("Permission denied");
        QTest::newRow("read-only directory")
            << records << QStringLiteral("directory") << QStringLiteral("Permission denied");
        QTest::newRow("root cannot be fetched")
            << records << QStringLiteral("fetch") << QStringLiteral("cannot be fetched");
        QTest::newRow("save fails half-way")
            << records << QStringLiteral("save") << QStringLiteral("No space left on device");
    }

    void failedUpdateLeavesFileIntact()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, setup);
        QFETCH(QString, reason);
        if (!content.isEmpty())
            QVERIFY(TestFiles::Write(favoritesPath(), content));

        std::unique_ptr<PermissionChecks> checks;
        if (setup == QLatin1String("file") || setup == QLatin1String("directory")) {
            const QString target =
                setup == QLatin1String("file") ? favoritesPath() : folder().path();
            QVERIFY(QFile::setPermissions(target, QFile::permissions(target) &
                                                      ~(QFile::WriteOwner | QFile::WriteGroup |
                                                        QFile::WriteOther | QFile::WriteUser)));
            checks = std::make_unique<PermissionChecks>();
            if (QFile(target == favoritesPath() ? target : path(QStringLiteral("probe")))
                    .open(QIODevice::ReadWrite)) {
                checks.reset();
                QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner);
                QSKIP("file permissions do not apply to this process");
            }
        } else if (setup == QLatin1String("fetch")) {
            CXmlTestSeam::SetFailures({xml::S_OK, QStringLiteral("Favorites"), 0, -1});
        } else if (setup == QLatin1String("save")) {
            CXmlTestSeam::SetFailures({xml::S_OK, {}, -1, content.size() / 2});
        }
        const QStringList entriesBefore =
            QDir(folder().path()).entryList(QDir::AllEntries | QDir::Hidden);
        const FavoritesResult added = store().Update(CFavoritesStore::Add, QStringLiteral("New"),
                                                     QStringLiteral("http://new/"));
        const FavoritesResult deleted = store().Update(
            CFavoritesStore::Delete, QStringLiteral("Two"), QStringLiteral("http://2/"));
        checks.reset();
        QFile::setPermissions(folder().path(),
                              QFile::permissions(folder().path()) | QFile::WriteOwner);

        for (const FavoritesResult& result : {added, deleted}) {
            QCOMPARE(result.code, Code::Failed);
            QCOMPARE(result.path, favoritesPath());
            QVERIFY2(result.reason.contains(reason), qPrintable(result.reason));
        }
        QCOMPARE(TestFiles::Read(favoritesPath()), content);
        QCOMPARE(QDir(folder().path()).entryList(QDir::AllEntries | QDir::Hidden), entriesBefore);
    }

    void documentCreationFailureIsReported()
    {
        const QByteArray content =
            TestFiles::FavoritesXml({{QStringLiteral("A"), QStringLiteral("http://a/")}});
        QVERIFY(TestFiles::Write(favoritesPath(), content));
        CXmlTestSeam::SetFailures({xml::HRESULT(0x80040154u), {}, -1, -1});

        QList<FavoriteRecord> records{{QStringLiteral("stale"), QString()}};
        QCOMPARE(store().ReadAll(records).code, Code::NoParser);
        QVERIFY(records.isEmpty());
        QCOMPARE(store()
                     .Update(CFavoritesStore::Add, QStringLiteral("B"), QStringLiteral("http://b/"))
                     .code,
                 Code::NoParser);
        QCOMPARE(TestFiles::Read(favoritesPath()), content);
    }

    void itemFetchFailureEndsTheRead()
    {
        QVERIFY(TestFiles::Write(
            favoritesPath(),
            TestFiles::FavoritesXml({{QStringLiteral("A"), QStringLiteral("http://a/")},
                                     {QStringLiteral("B"), QStringLiteral("http://b/")},
                                     {QStringLiteral("C"), QStringLiteral("http://c/")}})));
        CXmlTestSeam::SetFailures(
            {xml::S_OK, QStringLiteral("Favorites/Favorite|Favorites/Folder"), 1, -1});
        QList<FavoriteRecord> records;
        QCOMPARE(store().ReadAll(records).code, Code::NodeFailure);
        QCOMPARE(FavoritesFolder::rows(records), QStringList{QStringLiteral("A|http://a/")});
    }

    void declaredEncodingSurvivesARewrite_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QString>("declaration");
        QTest::addColumn<QString>("storedTitle");
        QTest::addColumn<QString>("newTitle");
        QTest::newRow("GBK") << QStringLiteral("gbk.xml") << QStringLiteral("encoding=\"GBK\"")
                             << QStringLiteral("人民日报") << QStringLiteral("新京报");
        QTest::newRow("ISO-8859-1")
            << QStringLiteral("latin1.xml") << QStringLiteral("encoding=\"ISO-8859-1\"")
            << QStringLiteral("Süddeutsche Zeitung") << QStringLiteral("Le Télégramme");
    }

    void declaredEncodingSurvivesARewrite()
    {
        QFETCH(QString, fixture);
        QFETCH(QString, declaration);
        QFETCH(QString, storedTitle);
        QFETCH(QString, newTitle);
        const QString source = QDir(qEnvironmentVariable("KESTRIN_SOURCE_DIR"))
                                   .filePath(QStringLiteral("tests/data/favorites/") + fixture);
        QVERIFY(QFile::copy(source, favoritesPath()));

        QList<FavoriteRecord> records;
        QVERIFY(store().ReadAll(records));
        QCOMPARE(records.size(), 1);
        QCOMPARE(records.first().title, storedTitle);

        QVERIFY(store().Update(CFavoritesStore::Add, newTitle, QStringLiteral("http://n/")));
        const QByteArray written = TestFiles::Read(favoritesPath());
        QVERIFY2(written.startsWith("<?xml version=\"1.0\" " + declaration.toLatin1()),
                 written.left(60).constData());
        QVERIFY(!written.contains(newTitle.toUtf8()) && !written.contains(storedTitle.toUtf8()));

        QVERIFY(store().ReadAll(records));
        QCOMPARE(records.size(), 2);
        QCOMPARE(records.at(0).title, storedTitle);
        QCOMPARE(records.at(1).title, newTitle);
    }

    void unusableFilesReadAsNoRecords_data()
    {
        QTest::addColumn<QByteArray>("content");
        const QByteArray good = "<Favorite><title>Good</title><url>http://good/</url></Favorite>";
        QTest::newRow("malformed") << QByteArray("<Favorites>" + good + "<Favorite><title>");
        QTest::newRow("another root") << QByteArray("<Bookmarks>" + good + "</Bookmarks>");
        QByteArray laughs = "<!DOCTYPE Favorites [<!ENTITY l0 \"lol\">";
        for (int i = 1; i < 10; ++i) {
            laughs += QStringLiteral("<!ENTITY l%1 \"").arg(i).toLatin1();
            laughs += QStringLiteral("&l%1;").arg(i - 1).toLatin1().repeated(10) + "\">";
        }
        QTest::newRow("billion laughs")
            << QByteArray(laughs + "]><Favorites>" + good +
                          "<Favorite><title>&l9;</title><url>u</url></Favorite></Favorites>");
        // 23 kB that would read as 20 MB.
        QTest::newRow("quadratic blow-up") << QByteArray(
            "<!DOCTYPE Favorites [<!ENTITY q \"" + QByteArray(10000, 'q') + "\">]><Favorites>" +
            good + "<Favorite><title>" + QByteArray("&q;").repeated(2000) +
            "</title><url>u</url></Favorite></Favorites>");
        QTest::newRow("deep nesting")
            << QByteArray("<Favorites>" + good + QByteArray("<a>").repeated(10000) +
                          QByteArray("</a>").repeated(10000) + "</Favorites>");
        QTest::newRow("external entities")
            << QByteArray("<!DOCTYPE Favorites [<!ENTITY secret SYSTEM \"secret.txt\">"
                          "<!ENTITY passwd SYSTEM \"file:///etc/passwd\">"
                          "<!ENTITY % remote SYSTEM \"secret.dtd\"> %remote;]><Favorites>" +
                          good +
                          "<Favorite><title>&secret;&passwd;</title><url>u</url></Favorite>"
                          "</Favorites>");
        QTest::newRow("external subset")
            << QByteArray("<!DOCTYPE Favorites SYSTEM \"secret.dtd\"><Favorites>" + good +
                          "<Favorite><title>&leak;</title><url>u</url></Favorite></Favorites>");
    }

    void unusableFilesReadAsNoRecords()
    {
        QFETCH(QByteArray, content);
        QVERIFY(TestFiles::Write(favoritesPath(), content));
        QVERIFY(TestFiles::Write(path(QStringLiteral("secret.txt")), "SECRET"));
        QVERIFY(TestFiles::Write(path(QStringLiteral("secret.dtd")),
                                 "<!ENTITY leak \"SECRET\"><!ENTITY secret \"SECRET\">"));

        QList<FavoriteRecord> records;
        QVERIFY(store().ReadAll(records));
        // Either nothing or the records before the damage, never anything from elsewhere.
        const QStringList read = FavoritesFolder::rows(records);
        QVERIFY2(read.isEmpty() || read.first() == QLatin1String("Good|http://good/"),
                 qPrintable(read.join(QLatin1Char(','))));
        QVERIFY(read.size() <= 2);
        for (const FavoriteRecord& record : records) {
            QVERIFY(record.title.size() < content.size());
            QVERIFY(!record.title.contains(QLatin1String("SECRET")) &&
                    !record.title.contains(QLatin1String("root:")));
        }
        QCOMPARE(TestFiles::Read(favoritesPath()), content);
    }
    // The list is read as the file is parsed, each favorite and folder of the top leaving
    // the tree once read; the text, comments and other elements between them stay as a
    // whole tree has them. With entities declared, the list is read from the whole tree.
    void listIsReadAsTheFileIsParsed_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<bool>("offered");
        QTest::newRow("between and inside")
            << QByteArray(R"(<?xml version="1.0"?>
<?top instruction?><Favorites>loose<Favorite><title>A</title><url>http://a/</url></Favorite>
 more <!-- note --><?pi x?>text<Favorite><title>B</title><url>http://b/</url></Favorite>tail
<Other><title>O</title></Other>end<x:Favorite xmlns:x="urn:x"><title>N</title></x:Favorite>
<Favorite xmlns="urn:y"><title>Y</title></Favorite><Folder><title>F</title>in<Favorite>
<title>C</title><url>http://c/</url></Favorite><Folder><title>G</title><Favorite><title>D</title>
<url>http://d/</url></Favorite></Folder></Folder><Favorite/>last   </Favorites>)")
            << QStringList{"A|http://a/", "B|http://b/", "C|http://c/", "D|http://d/", "|"}
            << QStringList{"F", "F/G"} << QStringList{"Other", "x:Favorite", "Favorite"} << true;
        QByteArray many = "<Favorites>";
        QStringList manyRows;
        for (int i = 0; i < 3000; ++i) {
            many += QStringLiteral("t%1 <Favorite><title>P%1</title><url>u%1</url></Favorite>")
                        .arg(i)
                        .toUtf8();
            manyRows.append(QStringLiteral("P%1|u%1").arg(i));
        }
        QTest::newRow("thousands with text between")
            << QByteArray(many + "</Favorites>") << manyRows << QStringList{} << QStringList{}
            << true;
        QTest::newRow("entities declared")
            << QByteArray("<!DOCTYPE Favorites [<!ENTITY e \"Ent\">]><Favorites>x<Favorite>"
                          "<title>&e;</title><url>u</url></Favorite>y</Favorites>")
            << QStringList{"Ent|u"} << QStringList{} << QStringList{"Favorite"} << false;
        QTest::newRow("another root")
            << QByteArray("<Favorites xmlns=\"urn:z\"><Favorite><title>A</title></Favorite>"
                          "</Favorites>")
            << QStringList{} << QStringList{} << QStringList{} << true;
    }

    void listIsReadAsTheFileIsParsed()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, folders);
        QFETCH(QStringList, left);
        QFETCH(bool, offered);
        QVERIFY(TestFiles::Write(favoritesPath(), content));
        QList<FavoriteRecord> records;
        QList<QStringList> paths;
        QVERIFY(store().ReadAll(records, paths));
        QCOMPARE(FavoritesFolder::rows(records), rows);
        QStringList joined;
        for (const QStringList& path : std::as_const(paths))
            joined.append(path.join(QLatin1Char('/')));
        QCOMPARE(joined, folders);

        CXmlDocument read;
        QVERIFY(!xml::Failed(read.CreateInstance()));
        QList<FavoriteRecord> again;
        QList<QStringList> foldersAgain;
        QList<qsizetype> places;
        QCOMPARE(CFavoritesChange::LoadTopLevel(read, content, favoritesPath(), -1, again,
                                                foldersAgain, places),
                 Code::Done);
        QCOMPARE(again, records);
        const CXmlNodeList rest = read.SelectNodes(CXmlString(QStringLiteral("Favorites/*")));
        QStringList names;
        for (long i = 0; i < rest.GetLength(); ++i)
            names.append(rest.GetItem(i).GetNodeName().ToQString());
        QCOMPARE(names, left);
        // The text around what was taken reads as in the whole tree without it.
        CXmlDocument whole;
        QVERIFY(!xml::Failed(whole.CreateInstance()));
        QVERIFY(whole.LoadXml(content, favoritesPath()));
        const CXmlNodeList roots = whole.SelectNodes(CXmlString(QStringLiteral("Favorites")));
        if (roots.GetLength() == 0)
            return;
        CXmlNode root = roots.GetItem(0);
        if (offered) {
            const CXmlNodeList taken = whole.SelectNodes(
                CXmlString(QStringLiteral("Favorites/Favorite|Favorites/Folder")));
            for (long i = 0; i < taken.GetLength(); ++i)
                root.RemoveChild(taken.GetItem(i));
        }
        QCOMPARE(read.SelectNodes(CXmlString(QStringLiteral("Favorites")))
                     .GetItem(0)
                     .GetText()
                     .ToQString(),
                 root.GetText().ToQString());
    }
    // A one-line file just under the cap reads; a change to it is written compact as it
    // came, where indenting it would pass the cap.
    void compactFileAtTheCapCanStillBeChanged()
    {
        constexpr int kFavorites = 16;
        QByteArray xml = "<?xml version=\"1.0\"?>\n<Favorites>";
        const qsizetype room = CXmlDocument::kMaxFileSize - 100;
        const qsizetype titleSize = room / kFavorites - 64;
        for (int i = 0; i < kFavorites; ++i) {
            xml += "<Favorite><title>" + QByteArray::number(i) + QByteArray(titleSize, 't') +
                   "</title><url>http://" + QByteArray::number(i) + "/</url></Favorite>";
        }
        xml += "</Favorites>";
        xml += QByteArray(room - xml.size(), '\n');
        QVERIFY(TestFiles::Write(favoritesPath(), xml));
        QCOMPARE(readRows().size(), kFavorites);

        const FavoritesResult added = store().Update(CFavoritesStore::Add, QStringLiteral("New"),
                                                     QStringLiteral("http://new/"));
        QVERIFY2(added, qPrintable(added.reason));
        QVERIFY(QFileInfo(favoritesPath()).size() <= CXmlDocument::kMaxFileSize);
        const QStringList rows = readRows();
        QCOMPARE(rows.size(), kFavorites + 1);
        QCOMPARE(rows.last(), QStringLiteral("New|http://new/"));
    }

    void oddFavoritesFilesAreRefusedWithoutWaiting_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("pipe") << QStringLiteral("pipe") << QStringLiteral("pipe");
        QTest::newRow("link to /dev/zero") << QStringLiteral("zero") << QStringLiteral("device");
        QTest::newRow("folder") << QStringLiteral("folder") << QStringLiteral("folder");
        QTest::newRow("past the cap") << QStringLiteral("large") << QStringLiteral("larger than");
    }

    // Read, changed and backed up, none of them waits on the pipe or reads the device; each
    // says what the file is, and it stays as it was.
    void oddFavoritesFilesAreRefusedWithoutWaiting()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        const QByteArray name = QFile::encodeName(favoritesPath());
        if (kind == QLatin1String("pipe")) {
            QCOMPARE(::mkfifo(name.constData(), 0600), 0);
        } else if (kind == QLatin1String("zero")) {
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), favoritesPath()));
        } else if (kind == QLatin1String("folder")) {
            QVERIFY(QDir().mkdir(favoritesPath()));
        } else {
            // Sparse: one byte past the cap costs no disk.
            QFile large(favoritesPath());
            QVERIFY(large.open(QIODevice::WriteOnly));
            QVERIFY(large.resize(CXmlDocument::kMaxFileSize + 1));
        }

        QList<FavoriteRecord> records;
        const FavoritesResult read = store().ReadAll(records);
        QCOMPARE(read.code, Code::Refused);
        QCOMPARE(read.path, favoritesPath());
        QVERIFY(records.isEmpty());
        const FavoritesResult added = store().Update(CFavoritesStore::Add, QStringLiteral("New"),
                                                     QStringLiteral("http://new/"));
        QCOMPARE(added.code, Code::Failed);
        const FavoritesResult backup = store().Backup();
        QVERIFY(!backup.succeeded());
        for (const FavoritesResult& result : {read, added, backup})
            QVERIFY2(result.reason.contains(reason), qPrintable(result.reason));

        struct stat status = {};
        QCOMPARE(::lstat(name.constData(), &status), 0);
        const bool same = kind == QLatin1String("pipe")   ? S_ISFIFO(status.st_mode)
                          : kind == QLatin1String("zero") ? S_ISLNK(status.st_mode)
                          : kind == QLatin1String("folder")
                              ? S_ISDIR(status.st_mode)
                              : status.st_size > CXmlDocument::kMaxFileSize;
        QVERIFY(same);
        QVERIFY(!QFileInfo::exists(favoritesPath() + QStringLiteral(".bk")));
    }
};

KESTRIN_CORE_TEST_MAIN(FavoritesStoreTest)
#include "tst_favoritesstore.moc"
