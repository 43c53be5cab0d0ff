// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "app/UserDataFolder.h"
#include "support/AppFixture.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

namespace {
const QStringList kSkins = {QStringLiteral("Skin/Minimized.ssk"), QStringLiteral("Skin/Night.ssk"),
                            QStringLiteral("Skin/SoftCrystal.ssk"),
                            QStringLiteral("Skin/XPCorona.ssk")};

void copyInto(const QString& from, const QString& to, const QString& name)
{
    QDir().mkpath(QFileInfo(QDir(to).filePath(name)).absolutePath());
    QVERIFY(QFile::copy(QDir(from).filePath(name), QDir(to).filePath(name)));
}

void setModified(const QString& path, const QDateTime& when)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
}

QDateTime modified(const QString& path)
{
    return QFileInfo(path).lastModified();
}
} // namespace

class UserDataFolderTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void firstStartFillsANewFolder();
    void favoritesAndTheirBackupsAreNeverReplaced();
    void favoritesCopiedFromAReadOnlyInstallCanBeChanged();
    void helpAndSkinsFollowNewerInstalledCopies();
    void enterMakesTheFolderTheWorkingDirectory();
    void foldersThatCannotBeMadeAreReported();
    void missingInstalledDataIsReportedButFavoritesStay();
    void developerCanNameAnotherFolder();
    void linksAndOddFilesAreReplacedNeverWrittenThrough();
    void linkedSkinFolderAndForeignFolderAreLeftAlone();

private:
    QString own(const QString& name) const { return QDir(m_folder).filePath(name); }
    QString shipped(const QString& name) const { return QDir(m_shipped).filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_shipped;
    QString m_folder;
};

void UserDataFolderTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_shipped = m_dir->filePath(QStringLiteral("usr/share/kestrin-news-reader"));
    m_folder = m_dir->filePath(QStringLiteral("home/.local/share/kestrin-news-reader"));
    const QString source = AppFixture::sourceDataDir();
    for (const QString& name :
         QStringList{QStringLiteral("Favorites.xml"), QStringLiteral("readme.htm")} + kSkins)
        copyInto(source, m_shipped, name);
    // Installed files carry the time they were built, well before the first start.
    const QDateTime built = QDateTime::currentDateTime().addDays(-30);
    for (const QString& name : QStringList{QStringLiteral("readme.htm")} + kSkins)
        setModified(shipped(name), built);
}

void UserDataFolderTest::firstStartFillsANewFolder()
{
    UserDataFolder folder(m_folder, m_shipped);
    QVERIFY2(folder.Prepare(), qPrintable(folder.problems().join(QLatin1Char('\n'))));
    QVERIFY(folder.problems().isEmpty());

    const QStringList copied =
        QStringList{QStringLiteral("Favorites.xml"), QStringLiteral("readme.htm")} + kSkins;
    for (const QString& name : copied)
        QCOMPARE(TestFiles::Read(own(name)), TestFiles::Read(shipped(name)));
    QCOMPARE(QDir(m_folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
             (QStringList{"Favorites.xml", "Skin", "readme.htm"}));
    // Nothing left behind by the copying.
    QCOMPARE(QDir(own(QStringLiteral("Skin"))).entryList(QDir::Files).size(), kSkins.size());
    // The copies carry the installed times, so the next start sees them up to date.
    QCOMPARE(modified(own(QStringLiteral("readme.htm"))),
             modified(shipped(QStringLiteral("readme.htm"))));
}

void UserDataFolderTest::favoritesAndTheirBackupsAreNeverReplaced()
{
    QDir().mkpath(m_folder);
    const QByteArray mine = TestFiles::FavoritesXml(
        {{QStringLiteral("Local Paper"), QStringLiteral("https://local.example/")}});
    const QByteArray backup = "<Favorites/>";
    QVERIFY(TestFiles::Write(own(QStringLiteral("Favorites.xml")), mine));
    QVERIFY(TestFiles::Write(own(QStringLiteral("Favorites.xml.bk")), backup));
    QVERIFY(TestFiles::Write(own(QStringLiteral("Favorites.xml.lock")), "4242\n"));

    UserDataFolder folder(m_folder, m_shipped);
    for (int start = 0; start < 2; ++start) {
        QVERIFY(folder.Prepare());
        QCOMPARE(TestFiles::Read(own(QStringLiteral("Favorites.xml"))), mine);
        QCOMPARE(TestFiles::Read(own(QStringLiteral("Favorites.xml.bk"))), backup);
        QCOMPARE(TestFiles::Read(own(QStringLiteral("Favorites.xml.lock"))), QByteArray("4242\n"));
    }

    // Even an emptied file is the user's: it is not refilled from the installed copy.
    QVERIFY(TestFiles::Write(own(QStringLiteral("Favorites.xml")), QByteArray()));
    QVERIFY(folder.Prepare());
    QCOMPARE(QFileInfo(own(QStringLiteral("Favorites.xml"))).size(), 0);
}

void UserDataFolderTest::favoritesCopiedFromAReadOnlyInstallCanBeChanged()
{
    for (const QString& name :
         QStringList{QStringLiteral("Favorites.xml"), QStringLiteral("readme.htm")} + kSkins)
        QVERIFY(QFile::setPermissions(shipped(name),
                                      QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    UserDataFolder folder(m_folder, m_shipped);
    QVERIFY(folder.Prepare());
    for (const QString& name :
         QStringList{QStringLiteral("Favorites.xml"), QStringLiteral("readme.htm")} + kSkins)
        QVERIFY2(QFileInfo(own(name)).permissions() & QFile::WriteOwner, qPrintable(name));
}

void UserDataFolderTest::helpAndSkinsFollowNewerInstalledCopies()
{
    UserDataFolder folder(m_folder, m_shipped);
    QVERIFY(folder.Prepare());

    // The user adjusts a skin's colours: a start with the same installation keeps them.
    const QString mini = QStringLiteral("Skin/Minimized.ssk");
    QVERIFY(TestFiles::Write(own(mini), "QTreeView { color: purple; }"));
    setModified(own(mini), QDateTime::currentDateTime().addDays(-1));
    QVERIFY(folder.Prepare());
    QCOMPARE(TestFiles::Read(own(mini)), QByteArray("QTreeView { color: purple; }"));

    // An upgrade brings a new help page, a newer skin and a skin that was not there before.
    const QDateTime upgraded = QDateTime::currentDateTime();
    QVERIFY(TestFiles::Write(shipped(QStringLiteral("readme.htm")), "<title>New help</title>"));
    QVERIFY(TestFiles::Write(shipped(mini), "QTreeView { color: navy; }"));
    QVERIFY(TestFiles::Write(shipped(QStringLiteral("Skin/Extra.ssk")), "QWidget {}"));
    for (const QString& name :
         {QStringLiteral("readme.htm"), mini, QStringLiteral("Skin/Extra.ssk")})
        setModified(shipped(name), upgraded);
    QVERIFY(TestFiles::Write(own(QStringLiteral("Skin/SoftCrystal.ssk")), "edited"));
    setModified(own(QStringLiteral("Skin/SoftCrystal.ssk")), upgraded.addSecs(60));

    QVERIFY(folder.Prepare());
    QCOMPARE(TestFiles::Read(own(QStringLiteral("readme.htm"))),
             QByteArray("<title>New help</title>"));
    QCOMPARE(TestFiles::Read(own(mini)), QByteArray("QTreeView { color: navy; }"));
    QCOMPARE(TestFiles::Read(own(QStringLiteral("Skin/Extra.ssk"))), QByteArray("QWidget {}"));
    // A skin edited after the upgrade's files were made is still the user's.
    QCOMPARE(TestFiles::Read(own(QStringLiteral("Skin/SoftCrystal.ssk"))), QByteArray("edited"));

    // A deleted help page comes back.
    QVERIFY(QFile::remove(own(QStringLiteral("readme.htm"))));
    QVERIFY(folder.Prepare());
    QCOMPARE(TestFiles::Read(own(QStringLiteral("readme.htm"))),
             QByteArray("<title>New help</title>"));
}

void UserDataFolderTest::enterMakesTheFolderTheWorkingDirectory()
{
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QStringLiteral("/")));
    UserDataFolder folder(m_folder, m_shipped);
    const bool entered = folder.Enter();
    const QString current = QDir::currentPath();
    QDir::setCurrent(previous);
    QVERIFY(entered);
    QCOMPARE(QFileInfo(current).canonicalFilePath(), QFileInfo(m_folder).canonicalFilePath());
}

void UserDataFolderTest::foldersThatCannotBeMadeAreReported()
{
    // A file stands where a folder of the path should be.
    QVERIFY(TestFiles::Write(m_dir->filePath(QStringLiteral("home")), "not a folder"));
    const QString previous = QDir::currentPath();
    UserDataFolder folder(m_folder, m_shipped);
    QVERIFY(!folder.Enter());
    QCOMPARE(QDir::currentPath(), previous);
    QCOMPARE(folder.problems().size(), 1);
    QVERIFY(folder.problems().first().contains(m_folder));
    QVERIFY(folder.report().contains(m_folder));
    QVERIFY(folder.report().contains(folder.problems().first()));
}

void UserDataFolderTest::missingInstalledDataIsReportedButFavoritesStay()
{
    QDir().mkpath(m_folder);
    const QByteArray mine = TestFiles::FavoritesXml(
        {{QStringLiteral("Local Paper"), QStringLiteral("https://local.example/")}});
    QVERIFY(TestFiles::Write(own(QStringLiteral("Favorites.xml")), mine));
    const QString previous = QDir::currentPath();

    UserDataFolder folder(m_folder, m_dir->filePath(QStringLiteral("nowhere")));
    const bool entered = folder.Enter();
    const QString current = QDir::currentPath();
    QDir::setCurrent(previous);
    QVERIFY(!entered);
    // The help page and the skins are named; the favorites are there, so no complaint of them.
    const QString problems = folder.problems().join(QLatin1Char('\n'));
    QVERIFY(problems.contains(QStringLiteral("readme.htm")));
    QVERIFY(problems.contains(QStringLiteral("Skin")));
    QVERIFY(!problems.contains(QStringLiteral("Favorites.xml")));
    QCOMPARE(TestFiles::Read(own(QStringLiteral("Favorites.xml"))), mine);
    // The program still runs in the folder, with the favorites it has.
    QCOMPARE(QFileInfo(current).canonicalFilePath(), QFileInfo(m_folder).canonicalFilePath());

    // Without favorites of its own the missing template is named too.
    QVERIFY(QFile::remove(own(QStringLiteral("Favorites.xml"))));
    QVERIFY(!folder.Prepare());
    QVERIFY(folder.problems().join(QLatin1Char('\n')).contains(QStringLiteral("Favorites.xml")));
    QVERIFY(!QFileInfo::exists(own(QStringLiteral("Favorites.xml"))));
}

void UserDataFolderTest::developerCanNameAnotherFolder()
{
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    qputenv(UserDataFolder::kOverrideVariable, "work/favorites");
    const QString chosen = UserDataFolder::DefaultPath();
    qunsetenv(UserDataFolder::kOverrideVariable);
    const QString standard = UserDataFolder::DefaultPath();
    QDir::setCurrent(previous);

    // A relative name means the folder the program was started from.
    QCOMPARE(chosen, m_dir->filePath(QStringLiteral("work/favorites")));
    QCOMPARE(QFileInfo(standard).fileName(), QStringLiteral("kestrin-news-reader"));
    QVERIFY(QFileInfo(standard).isAbsolute());
}

void UserDataFolderTest::linksAndOddFilesAreReplacedNeverWrittenThrough()
{
    // A folder made in /tmp by someone else's script, say: its names point at the user's files.
    QDir().mkpath(own(QStringLiteral("Skin")));
    const QString letter = m_dir->filePath(QStringLiteral("letter.txt"));
    const QString notes = m_dir->filePath(QStringLiteral("notes.txt"));
    QVERIFY(TestFiles::Write(letter, "Dear bank"));
    QVERIFY(TestFiles::Write(notes, "private"));
    QVERIFY(QFile::setPermissions(letter, QFile::ReadOwner | QFile::WriteOwner));
    QVERIFY(QFile::link(letter, own(QStringLiteral("readme.htm"))));
    QVERIFY(QFile::link(notes, own(QStringLiteral("Skin/Minimized.ssk"))));
    // A link pointing nowhere, and a pipe that would block whoever opened it.
    QVERIFY(QFile::link(m_dir->filePath(QStringLiteral("gone")),
                        own(QStringLiteral("Skin/Night.ssk"))));
    QCOMPARE(
        ::mkfifo(QFile::encodeName(own(QStringLiteral("Skin/XPCorona.ssk"))).constData(), 0600), 0);
    // An old letter would be overwritten as out of date; newer notes must not make a link
    // count as the user's own, up-to-date skin either.
    setModified(letter, QDateTime::currentDateTime().addDays(-60));
    setModified(notes, QDateTime::currentDateTime());

    UserDataFolder folder(m_folder, m_shipped);
    QVERIFY2(folder.Prepare(), qPrintable(folder.problems().join(QLatin1Char('\n'))));
    QCOMPARE(TestFiles::Read(letter), QByteArray("Dear bank"));
    struct stat status = {};
    QCOMPARE(::stat(QFile::encodeName(letter).constData(), &status), 0);
    QCOMPARE(status.st_mode & 07777, 0600u);
    QCOMPARE(TestFiles::Read(notes), QByteArray("private"));
    QVERIFY(!QFileInfo::exists(m_dir->filePath(QStringLiteral("gone"))));
    for (const QString& name : QStringList{QStringLiteral("readme.htm")} + kSkins) {
        const QFileInfo info(own(name));
        QVERIFY2(!info.isSymLink() && info.isFile(), qPrintable(name));
        QCOMPARE(TestFiles::Read(own(name)), TestFiles::Read(shipped(name)));
    }

    // A folder where the help page should be cannot be renamed over: it stays, with a line.
    QVERIFY(QFile::remove(own(QStringLiteral("readme.htm"))));
    QVERIFY(QDir().mkpath(own(QStringLiteral("readme.htm/keep"))));
    QVERIFY(!folder.Prepare());
    QCOMPARE(folder.problems().size(), 1);
    QVERIFY(folder.problems().first().contains(own(QStringLiteral("readme.htm"))));
    QVERIFY(QFileInfo(own(QStringLiteral("readme.htm/keep"))).isDir());
    // Nothing half-made is left beside it.
    QCOMPARE(QDir(m_folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System,
                                      QDir::Name),
             (QStringList{"Favorites.xml", "Skin", "readme.htm"}));
}

void UserDataFolderTest::linkedSkinFolderAndForeignFolderAreLeftAlone()
{
    const QString elsewhere = m_dir->filePath(QStringLiteral("elsewhere"));
    QVERIFY(QDir().mkpath(elsewhere));
    QVERIFY(TestFiles::Write(QDir(elsewhere).filePath(QStringLiteral("Minimized.ssk")), "mine"));
    QVERIFY(QDir().mkpath(m_folder));
    QVERIFY(QFile::link(elsewhere, own(QStringLiteral("Skin"))));
    UserDataFolder folder(m_folder, m_shipped);
    QVERIFY(!folder.Prepare());
    QCOMPARE(folder.problems().size(), 1);
    QVERIFY(folder.problems().first().contains(own(QStringLiteral("Skin"))));
    QCOMPARE(QDir(elsewhere).entryList(QDir::Files), QStringList{"Minimized.ssk"});
    QCOMPARE(TestFiles::Read(QDir(elsewhere).filePath(QStringLiteral("Minimized.ssk"))),
             QByteArray("mine"));
    // The rest is prepared as usual.
    QCOMPARE(TestFiles::Read(own(QStringLiteral("readme.htm"))),
             TestFiles::Read(shipped(QStringLiteral("readme.htm"))));

    // Another user's folder: the root's, or one given away when the tests run as root.
    QString foreign = QStringLiteral("/");
    if (::geteuid() == 0) {
        foreign = m_dir->filePath(QStringLiteral("theirs"));
        QVERIFY(QDir().mkpath(foreign));
        QCOMPARE(::chown(QFile::encodeName(foreign).constData(), 65534, 65534), 0);
    }
    const QStringList before = QDir(foreign).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    const QString previous = QDir::currentPath();
    UserDataFolder theirs(foreign, m_shipped);
    QVERIFY(!theirs.Enter());
    QCOMPARE(QDir::currentPath(), previous);
    QCOMPARE(theirs.problems().size(), 1);
    QVERIFY(theirs.problems().first().contains(foreign));
    QCOMPARE(QDir(foreign).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

KESTRIN_TEST_MAIN(UserDataFolderTest)
#include "tst_userdatafolder.moc"
