// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FavoritesTestCase.h"
#include "favorites/CBookmarksReader.h"
#include "favorites/CBookmarksWriter.h"
#include "favorites/CFavoritesChange.h"
#include "support/CoreTestMain.h"
#include "support/TestFiles.h"

#include <QSignalSpy>

namespace {
// Written as the store writes, so that a change undone gives back the same bytes.
const QByteArray kNested = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<Favorites>\n"
                           "  <Favorite>\n    <title>Top</title>\n    <url>http://top/</url>\n"
                           "  </Favorite>\n"
                           "  <Folder>\n    <title>States</title>\n"
                           "    <Folder>\n      <title>Massachusetts</title>\n"
                           "      <Favorite>\n        <title>Boston Globe</title>\n"
                           "        <url>http://globe/</url>\n      </Favorite>\n"
                           "    </Folder>\n"
                           "    <Favorite>\n      <title>Texas Tribune</title>\n"
                           "      <url>http://tribune/</url>\n    </Favorite>\n"
                           "  </Folder>\n"
                           "  <Folder>\n    <title>Empty</title>\n  </Folder>\n"
                           "  <Favorite>\n    <title>Last</title>\n    <url>http://last/</url>\n"
                           "  </Favorite>\n"
                           "</Favorites>\n";

QStringList Path(const char* joined)
{
    return QString::fromUtf8(joined).split(u'/', Qt::SkipEmptyParts);
}

// "folder/…/title|url" per record.
QStringList Tree(const QList<FavoriteRecord>& records)
{
    QStringList rows;
    for (const FavoriteRecord& record : records)
        rows.append((record.folder + QStringList{record.title}).join(u'/') + u'|' + record.url);
    return rows;
}
} // namespace

// Folders in Favorites.xml: read, changed one locked save at a time, and carried to and
// from browsers' bookmark files.
class FavoriteFoldersTest : public FavoritesTestCase
{
    Q_OBJECT

private:
    [[nodiscard]] QStringList tree(QList<QStringList>* folders = nullptr) const
    {
        QList<FavoriteRecord> records;
        QList<QStringList> paths;
        (void)store().ReadAll(records, paths);
        if (folders)
            *folders = paths;
        return Tree(records);
    }

private slots:
    void readsNestedFoldersInFileOrderAndUndoesToTheSameBytes()
    {
        QVERIFY(folder().writeFavoritesXml(kNested));
        QList<QStringList> folders;
        QCOMPARE(tree(&folders),
                 (QStringList{"Top|http://top/", "States/Massachusetts/Boston Globe|http://globe/",
                              "States/Texas Tribune|http://tribune/", "Last|http://last/"}));
        QCOMPARE(folders,
                 (QList<QStringList>{Path("States"), Path("States/Massachusetts"), Path("Empty")}));
        // What the listeners are told holds the same.
        QSignalSpy changed(&store(), &CFavoritesStore::favoritesChanged);
        QVERIFY(store().CreateFolder(Path("States"), QStringLiteral("Ohio")));
        QCOMPARE(changed.size(), 1);
        const auto update = changed.at(0).at(0).value<FavoritesUpdate>();
        QVERIFY(update.folders.contains(Path("States/Ohio")));
        QCOMPARE(Tree(update.records), tree());
        QVERIFY(store().DeleteFolder(Path("States/Ohio")));
        QCOMPARE(TestFiles::Read(favoritesPath()), kNested);
        // Nothing to do: the file is not written at all.
        QCOMPARE(store().RenameFolder(Path("Empty"), QStringLiteral(" Empty ")).code,
                 Code::Unchanged);
        QCOMPARE(store().SortFolder(Path("States/Massachusetts")).code, Code::Unchanged);
        QCOMPARE(TestFiles::Read(favoritesPath()), kNested);
    }

    void folderChangesAndTheirRefusals()
    {
        QVERIFY(folder().writeFavoritesXml(kNested));
        QCOMPARE(store().CreateFolder({}, QStringLiteral("  ")).code, Code::Blank);
        QCOMPARE(store().CreateFolder({}, QStringLiteral("States")).code, Code::FolderTaken);
        QCOMPARE(store().CreateFolder(Path("Nowhere"), QStringLiteral("X")).code, Code::Gone);
        QCOMPARE(store().RenameFolder(Path("States"), QStringLiteral("Empty")).code,
                 Code::FolderTaken);
        QCOMPARE(store().RenameFolder(Path("Gone"), QStringLiteral("X")).code, Code::Gone);
        // The same title may stand in another folder.
        QVERIFY(store().CreateFolder(Path("Empty"), QStringLiteral("States")));

        QVERIFY(store().RenameFolder(Path("States"), QStringLiteral("Regions")));
        QCOMPARE(tree().mid(1, 2), (QStringList{"Regions/Massachusetts/Boston Globe|http://globe/",
                                                "Regions/Texas Tribune|http://tribune/"}));
        QCOMPARE(store().MoveFolder(Path("Regions"), Path("Regions/Massachusetts")).code,
                 Code::IntoItself);
        QCOMPARE(store().MoveFolder(Path("Empty/States"), Path("Regions/Massachusetts")).code,
                 Code::Done);
        QCOMPARE(store().MoveFolder(Path("Regions/Massachusetts"), {}).code, Code::Done);
        QCOMPARE(store().MoveFolder(Path("Massachusetts"), {}).code, Code::Unchanged);

        // A folder that goes takes everything it holds with it, in one change.
        QVERIFY(store().DeleteFolder(Path("Massachusetts")));
        QList<QStringList> folders;
        QCOMPARE(tree(&folders),
                 (QStringList{"Top|http://top/", "Regions/Texas Tribune|http://tribune/",
                              "Last|http://last/"}));
        QCOMPARE(folders, (QList<QStringList>{Path("Regions"), Path("Empty")}));
        QCOMPARE(store().DeleteFolder(Path("Massachusetts")).code, Code::Gone);
    }

    void twinFoldersAreJoinedByTheNextChangeKeepingAllTheyHold()
    {
        // Two folders of one title side by side, as a hand may write them, each with a folder
        // of one title inside.
        const QByteArray twins =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Favorites>"
            "<Folder><title>Local</title>"
            "<Folder><title>Town</title><Favorite><title>A</title><url>http://a/</url></Favorite>"
            "</Folder><Favorite><title>B</title><url>http://b/</url></Favorite></Folder>"
            "<Favorite><title>Top</title><url>http://top/</url></Favorite>"
            "<Folder><title>Local</title><!-- kept by hand -->"
            "<Favorite><title>C</title><url>http://c/</url></Favorite>"
            "<Folder><title>Town</title><Favorite><title>D</title><url>http://d/</url></Favorite>"
            "</Folder></Folder></Favorites>\n";
        QVERIFY(folder().writeFavoritesXml(twins));
        QCOMPARE(tree(),
                 (QStringList{"Local/Town/A|http://a/", "Local/B|http://b/", "Top|http://top/",
                              "Local/C|http://c/", "Local/Town/D|http://d/"}));
        // A change refused writes nothing, twins and all.
        QCOMPARE(store().CreateFolder({}, QStringLiteral("Local")).code, Code::FolderTaken);
        QCOMPARE(TestFiles::Read(favoritesPath()), twins);

        // The change asked for applies to the one folder all of them make.
        const FavoritesResult renamed = store().RenameFolder(Path("Local"), QStringLiteral("Near"));
        QCOMPARE(renamed.code, Code::Done);
        QCOMPARE(renamed.joinedFolders, (QList<QStringList>{Path("Local"), Path("Local/Town")}));
        QList<QStringList> folders;
        QCOMPARE(tree(&folders),
                 (QStringList{"Near/Town/A|http://a/", "Near/Town/D|http://d/", "Near/B|http://b/",
                              "Near/C|http://c/", "Top|http://top/"}));
        QCOMPARE(folders, (QList<QStringList>{Path("Near"), Path("Near/Town")}));
        QVERIFY(TestFiles::Read(favoritesPath()).contains("<!-- kept by hand -->"));
        // Once joined they stay so: the next change joins nothing.
        QVERIFY(store().DeleteFolder(Path("Near/Town")));
        QVERIFY(store().CreateFolder({}, QStringLiteral("Later")).joinedFolders.isEmpty());
        QCOMPARE(tree(), (QStringList{"Near/B|http://b/", "Near/C|http://c/", "Top|http://top/"}));
    }

    void foldersNestSixteenDeepAndNoDeeper()
    {
        QVERIFY(folder().writeFavoritesXml("<Favorites/>"));
        QStringList path;
        for (int depth = 1; depth <= CFavoritesChange::kMaxFolderDepth; ++depth) {
            QVERIFY(store().CreateFolder(path, QString::number(depth)));
            path.append(QString::number(depth));
        }
        QCOMPARE(store().CreateFolder(path, QStringLiteral("17")).code, Code::TooDeep);
        QVERIFY(store().CreateFolder({}, QStringLiteral("Side")));
        QVERIFY(store().CreateFolder(Path("Side"), QStringLiteral("Inner")));
        // Moved under the first folder, Side/Inner would reach 17.
        QCOMPARE(store().MoveFolder(Path("Side"), path.first(15)).code, Code::TooDeep);
        QVERIFY(store().MoveFolder(Path("Side"), path.first(14)));

        // A folder nested deeper by hand is left in the file as it is, unread.
        QByteArray deep = "<Favorites>";
        for (int depth = 1; depth <= 17; ++depth)
            deep += "<Folder><title>" + QByteArray::number(depth) + "</title>";
        deep += "<Favorite><title>Deep</title><url>http://deep/</url></Favorite>";
        for (int depth = 1; depth <= 17; ++depth)
            deep += "</Folder>";
        deep += "</Favorites>";
        QVERIFY(folder().writeFavoritesXml(deep));
        QList<QStringList> folders;
        QCOMPARE(tree(&folders), QStringList());
        QCOMPARE(folders.size(), 16);
        QVERIFY(store().Update(CFavoritesStore::Add, QStringLiteral("New"),
                               QStringLiteral("http://new/")));
        QVERIFY(TestFiles::Read(favoritesPath()).contains("<title>Deep</title>"));
    }

    void duplicatesCountAcrossTheWholeFile()
    {
        QVERIFY(folder().writeFavoritesXml(kNested));
        QCOMPARE(store()
                     .Update(CFavoritesStore::Add, QStringLiteral("Boston Globe"),
                             QStringLiteral("http://globe/"))
                     .code,
                 Code::Duplicate);
        QCOMPARE(store()
                     .AddTo(Path("Empty"), QStringLiteral(" Boston Globe"),
                            QStringLiteral("http://globe/"))
                     .code,
                 Code::Duplicate);
        QCOMPARE(
            store().AddTo(Path("Nowhere"), QStringLiteral("A"), QStringLiteral("http://a/")).code,
            Code::Gone);
        // Another name for the same address is a favorite of its own.
        QVERIFY(store().AddTo(Path("States/Massachusetts"), QStringLiteral("Globe"),
                              QStringLiteral("http://globe/")));
        QCOMPARE(tree().at(2), QStringLiteral("States/Massachusetts/Globe|http://globe/"));
        // Deleting a pair in a folder finds it there.
        QVERIFY(store().Update(CFavoritesStore::Delete, QStringLiteral("Texas Tribune"),
                               QStringLiteral("http://tribune/")));
        QVERIFY(!tree().contains(QStringLiteral("States/Texas Tribune|http://tribune/")));
    }

    void movesOfManyFavoritesAreOneSave()
    {
        TestFiles::Records many;
        for (int i = 0; i < 150; ++i)
            many.append({QStringLiteral("F%1").arg(i), QStringLiteral("http://f/%1").arg(i)});
        writeFavorites(many);
        QVERIFY(store().CreateFolder({}, QStringLiteral("Box")));
        QList<FavoriteRecord> records;
        QVERIFY(store().ReadAll(records));
        QList<FavoriteRef> refs;
        for (int i = 0; i < 100; ++i)
            refs.append({i, records.at(i)});
        QSignalSpy changed(&store(), &CFavoritesStore::favoritesChanged);
        QVERIFY(store().MoveRecords(refs, Path("Box")));
        QCOMPARE(changed.size(), 1);
        const QStringList rows = tree();
        QCOMPARE(rows.size(), 150);
        QCOMPARE(rows.at(0), QStringLiteral("F100|http://f/100"));
        QCOMPARE(rows.at(50), QStringLiteral("Box/F0|http://f/0"));
        QCOMPARE(rows.at(149), QStringLiteral("Box/F99|http://f/99"));
        // Refs as the list showed them before the move still find the favorites.
        QCOMPARE(store().MoveRecords(refs.mid(0, 2), Path("Box")).code, Code::Unchanged);
        QVERIFY(store().MoveRecords(refs.mid(0, 2), {}));
        QCOMPARE(tree().constLast(), QStringLiteral("F1|http://f/1"));
        QCOMPARE(store().MoveRecords({{-1, {"Nope", "http://nope/", {}}}}, {}).code, Code::Gone);
    }

    void sortFolderPutsFoldersFirstThenNames()
    {
        QVERIFY(folder().writeFavoritesXml(
            "<Favorites><Favorite><title>b</title><url>http://b/</url></Favorite>"
            "<Folder><title>Z</title></Folder>"
            "<Favorite><title>A</title><url>http://a/</url></Favorite>"
            "<Folder><title>y</title><Favorite><title>Two</title><url>http://2/</url></Favorite>"
            "<Favorite><title>Ten</title><url>http://10/</url></Favorite></Folder></Favorites>"));
        QVERIFY(store().SortFolder({}));
        QVERIFY(store().SortFolder(Path("y")));
        QList<QStringList> folders;
        QCOMPARE(tree(&folders), (QStringList{"y/Ten|http://10/", "y/Two|http://2/", "A|http://a/",
                                              "b|http://b/"}));
        QCOMPARE(folders, (QList<QStringList>{Path("y"), Path("Z")}));
    }

    void importKeepsBrowsersFoldersAndMergesIntoThoseThere_data()
    {
        QTest::addColumn<QByteArray>("html");
        QTest::addColumn<QStringList>("expected");
        // Firefox: the menu's links under the page heading, the toolbar and other
        // bookmarks as headings, no end tags for entries.
        QTest::newRow("firefox")
            << QByteArray(
                   "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
                   "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                   "<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks Menu</H1>\n<DL><p>\n"
                   "    <DT><A HREF=\"http://menu/\" ADD_DATE=\"1\">Menu link</A>\n"
                   "    <DT><H3 ADD_DATE=\"1\">Local</H3>\n    <DL><p>\n"
                   "        <DT><H3>Massachusetts</H3>\n        <DL><p>\n"
                   "            <DT><A HREF=\"http://globe/\">Boston Globe</A>\n"
                   "        </DL><p>\n"
                   "        <DT><A HREF=\"http://local/\">Local link</A>\n"
                   "    </DL><p>\n"
                   "    <DT><H3 PERSONAL_TOOLBAR_FOLDER=\"true\">Bookmarks Toolbar</H3>\n"
                   "    <DL><p>\n        <DT><A HREF=\"http://bar/\">Bar</A>\n"
                   "    </DL><p>\n"
                   "    <HR>\n    <DT><A HREF=\"place:x\">Recent</A>\n"
                   "</DL>\n")
            << QStringList{"Old/Keep|http://keep/", "Bookmarks Menu/Menu link|http://menu/",
                           "Bookmarks Menu/Local/Massachusetts/Boston Globe|http://globe/",
                           "Bookmarks Menu/Local/Local link|http://local/",
                           "Bookmarks Menu/Bookmarks Toolbar/Bar|http://bar/"};
        QTest::newRow("chromium")
            << QByteArray("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<TITLE>Bookmarks</TITLE>\n"
                          "<H1>Bookmarks</H1>\n<DL><p>\n"
                          "    <DT><H3 PERSONAL_TOOLBAR_FOLDER=\"true\">Bookmarks bar</H3>\n"
                          "    <DL><p>\n        <DT><A HREF=\"http://bar/\">Bar</A>\n"
                          "        <DT><H3>Old</H3>\n        <DL><p>\n"
                          "            <DT><A HREF=\"http://keep/\">Keep again</A>\n"
                          "        </DL><p>\n    </DL><p>\n"
                          "    <DT><H3>Other bookmarks</H3>\n    <DL><p>\n"
                          "        <DT><A HREF=\"http://other/\">Other</A>\n    </DL><p>\n"
                          "    <DT><H3>Old</H3>\n    <DL><p>\n"
                          "        <DT><A HREF=\"http://merged/\">Merged</A>\n    </DL><p>\n"
                          "</DL><p>\n")
            << QStringList{"Old/Keep|http://keep/", "Old/Merged|http://merged/",
                           "Bookmarks bar/Bar|http://bar/", "Other bookmarks/Other|http://other/"};
    }

    void importKeepsBrowsersFoldersAndMergesIntoThoseThere()
    {
        QFETCH(QByteArray, html);
        QFETCH(QStringList, expected);
        QVERIFY(folder().writeFavoritesXml("<Favorites><Folder><title>Old</title><Favorite>"
                                           "<title>Keep</title><url>http://keep/</url>"
                                           "</Favorite></Folder></Favorites>"));
        CBookmarksReader::Result read;
        QString error;
        QVERIFY2(CBookmarksReader::Parse(html, read, error), qPrintable(error));
        CFavoritesStore::ImportSummary summary;
        QVERIFY(store().Import(read.links, read.notWeb, summary, {}, read.folders));
        QCOMPARE(summary.alreadyThere, QTest::currentDataTag() == QByteArray("chromium") ? 1 : 0);
        QCOMPARE(tree(), expected);
    }

    void exportThenImportGivesBackTheSameTree()
    {
        QVERIFY(folder().writeFavoritesXml(kNested));
        QList<FavoriteRecord> records;
        QList<CFavoritesChange::Child> children;
        QVERIFY(store().ReadChecked(records, &children));
        const QString exported = path(QStringLiteral("bookmarks.html"));
        CBookmarksWriter::Write(exported, children, QStringLiteral("Kestrin <News>"));

        CBookmarksReader::Result read;
        QString error;
        QVERIFY(CBookmarksReader::ReadFile(exported, read, error));
        QVERIFY(folder().writeFavoritesXml("<Favorites/>"));
        CFavoritesStore::ImportSummary summary;
        QVERIFY(store().Import(read.links, read.notWeb, summary, {}, read.folders));
        QList<QStringList> folders;
        const QStringList back = tree(&folders);
        QStringList expected;
        for (const QString& row : Tree(records))
            expected.append(QStringLiteral("Kestrin <News>/") + row);
        QCOMPARE(back, expected);
        // Empty folders too.
        QCOMPARE(folders, (QList<QStringList>{Path("Kestrin <News>"), Path("Kestrin <News>/States"),
                                              Path("Kestrin <News>/States/Massachusetts"),
                                              Path("Kestrin <News>/Empty")}));
    }
};

KESTRIN_CORE_TEST_MAIN(FavoriteFoldersTest)
#include "tst_favoritefolders.moc"
