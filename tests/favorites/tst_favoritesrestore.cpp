// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FavoritesTestCase.h"
#include "favorites/CFavoritesBackups.h"
#include "favorites/CFavoritesStore.h"
#include "favorites/CXmlDocument.h"
#include "favorites/CXmlTestSeam.h"
#include "favorites/ui/CRestoreFavoritesDlg.h"
#include "support/MessageCapture.h"
#include "support/ModalDriver.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QDir>
#include <QHeaderView>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTreeWidget>

#include <algorithm>
#include <memory>

namespace {
QDateTime at(int year, int month, int day, int hour, int minute, int second)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

bool add(CFavoritesStore& store, const char* title)
{
    return store
        .Update(CFavoritesStore::Add, QString::fromUtf8(title),
                QStringLiteral("http://%1.example/").arg(QLatin1String(title)))
        .succeeded();
}
} // namespace

class FavoritesRestoreTest : public FavoritesTestCase
{
    Q_OBJECT

private:
    [[nodiscard]] QString backupsPath() const { return path(QStringLiteral("backups")); }
    // Everything in the folder but the notes of why a backup was made.
    [[nodiscard]] QStringList backups() const
    {
        static const QRegularExpression note(
            QStringLiteral("^Favorites-\\d{8}-\\d{6}(-\\d+)?\\.txt$"));
        QStringList names =
            QDir(backupsPath()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        names.removeIf([](const QString& name) { return note.match(name).hasMatch(); });
        return names;
    }
    [[nodiscard]] QStringList everyFile() const
    {
        return QDir(backupsPath()).entryList(QDir::Files | QDir::Hidden);
    }
    [[nodiscard]] static QStringList reasons(const QList<CFavoritesBackups::Entry>& entries)
    {
        QStringList result;
        for (const CFavoritesBackups::Entry& entry : entries)
            result.append(CRestoreFavoritesDlg::ReasonText(entry));
        return result;
    }
    [[nodiscard]] QByteArray backup(const QString& name) const
    {
        return TestFiles::Read(QDir(backupsPath()).filePath(name));
    }
    // What the backups hold, whatever their names (two made in one second sort oddly).
    [[nodiscard]] QList<QByteArray> contents() const
    {
        QList<QByteArray> result;
        for (const QString& name : backups())
            result.append(backup(name));
        std::sort(result.begin(), result.end());
        return result;
    }
    [[nodiscard]] static QList<QByteArray> sorted(QList<QByteArray> list)
    {
        std::sort(list.begin(), list.end());
        return list;
    }
    // An automatic backup as an earlier run left it.
    void writeBackup(const QDateTime& time, const QByteArray& bytes, int sequence = 1)
    {
        QDir().mkpath(backupsPath());
        QVERIFY(TestFiles::Write(
            QDir(backupsPath()).filePath(CFavoritesBackups::NameFor(time, sequence)), bytes));
    }

private slots:
    void firstChangeOfEachRunIsBackedUpOnce()
    {
        writeFavorites({{QStringLiteral("Old"), QStringLiteral("http://old.example/")}});
        const QByteArray original = TestFiles::Read(favoritesPath());
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        QVERIFY(add(store(), "one"));
        QVERIFY(add(store(), "two"));
        QVERIFY(store().Update(CFavoritesStore::Delete, QStringLiteral("Old"),
                               QStringLiteral("http://old.example/")));

        QCOMPARE(backups().size(), 1);
        const QRegularExpressionMatch name =
            QRegularExpression(QStringLiteral("^Favorites-(\\d{8}-\\d{6})\\.xml$"))
                .match(backups().first());
        QVERIFY2(name.hasMatch(), qPrintable(backups().first()));
        const QDateTime made =
            QDateTime::fromString(name.captured(1), QStringLiteral("yyyyMMdd-HHmmss"));
        QVERIFY(made >= before.addSecs(-1) && made <= QDateTime::currentDateTime());
        QCOMPARE(backup(backups().first()), original);

        // Another run of the program backs up before its own first change.
        const QByteArray beforeSecondRun = TestFiles::Read(favoritesPath());
        QProcess writer;
        writer.start(QStringLiteral(KESTRIN_FAVORITES_WRITER),
                     {folder().path(), QStringLiteral("other"), QStringLiteral("3")});
        QVERIFY(writer.waitForFinished(60000));
        QCOMPARE(writer.exitCode(), 0);
        QCOMPARE(contents(), sorted({original, beforeSecondRun}));
        QCOMPARE(readRows().size(), 5);
    }

    void sameStateIsNotBackedUpTwiceAndBulkChangesAlwaysAre()
    {
        writeFavorites({{QStringLiteral("Old"), QStringLiteral("http://old.example/")}});
        const QByteArray original = TestFiles::Read(favoritesPath());
        writeBackup(at(2024, 5, 1, 8, 0, 0), original);
        QVERIFY(add(store(), "one"));
        // The newest backup holds this very state already.
        QCOMPARE(backups().size(), 1);

        const QByteArray beforeImport = TestFiles::Read(favoritesPath());
        CFavoritesStore::ImportSummary summary;
        QVERIFY(
            store().Import({{QStringLiteral("New"), QStringLiteral("http://new/")}}, 0, summary));
        QCOMPARE(summary.added, 1);
        QCOMPARE(contents(), sorted({original, beforeImport}));

        // A second backup, most likely within the same second, gets a name of its own.
        const QByteArray beforeSecondImport = TestFiles::Read(favoritesPath());
        QVERIFY(store().Import({{QStringLiteral("Newer"), QStringLiteral("http://newer/")}}, 0,
                               summary));
        QCOMPARE(contents(), sorted({original, beforeImport, beforeSecondImport}));
    }

    void onlyTheNewestTwentyAreKept()
    {
        writeFavorites({});
        QDir().mkpath(backupsPath());
        // 25 backups of earlier runs, and files that only look like backups.
        for (int day = 1; day <= 25; ++day)
            writeBackup(at(2023, 3, day, 12, 0, 0), QByteArray::number(day));
        const QStringList strangers{QStringLiteral("Favorites-2023.xml"),
                                    QStringLiteral("notes.txt"),
                                    QStringLiteral("Favorites-20230301-120000.xml.keep")};
        for (const QString& name : strangers)
            QVERIFY(TestFiles::Write(QDir(backupsPath()).filePath(name), "mine"));
        const QDir dir(backupsPath());
        QVERIFY(TestFiles::Write(dir.filePath(QStringLiteral("Favorites-20230301-120000.txt")),
                                 "import\nold.html\n"));
        QVERIFY(TestFiles::Write(dir.filePath(QStringLiteral("Favorites-20230325-120000.txt")),
                                 "import\nnew.html\n"));
        QVERIFY(add(store(), "one"));
        // A note goes with its backup.
        QVERIFY(!dir.exists(QStringLiteral("Favorites-20230301-120000.txt")));
        QVERIFY(dir.exists(QStringLiteral("Favorites-20230325-120000.txt")));
        QStringList expected = strangers;
        for (int day = 7; day <= 25; ++day)
            expected.append(CFavoritesBackups::NameFor(at(2023, 3, day, 12, 0, 0)));
        // The strangers, the 19 newest backups of before and the one just made.
        QStringList extra = backups();
        for (const QString& name : std::as_const(expected))
            QVERIFY2(extra.removeOne(name), qPrintable(name));
        QCOMPARE(extra.size(), 1);
        QCOMPARE(backup(extra.first()), TestFiles::FavoritesXml({}));
    }

    void backupsAreNeverWrittenThroughALinkOrOverAFile()
    {
        writeFavorites({{QStringLiteral("Old"), QStringLiteral("http://old.example/")}});
        const QByteArray original = TestFiles::Read(favoritesPath());
        QVERIFY(QDir(folder().path()).mkdir(QStringLiteral("elsewhere")));
        QVERIFY(QFile::link(path(QStringLiteral("elsewhere")), backupsPath()));

        const FavoritesResult refused = store().Update(CFavoritesStore::Add, QStringLiteral("one"),
                                                       QStringLiteral("http://one.example/"));
        QCOMPARE(refused.code, Code::Failed);
        QVERIFY2(refused.reason.contains(
                     QStringLiteral("No backup of it could be made first: %1 is not a folder")
                         .arg(backupsPath())),
                 qPrintable(refused.reason));
        QCOMPARE(TestFiles::Read(favoritesPath()), original);
        QCOMPARE(QDir(path(QStringLiteral("elsewhere"))).entryList(QDir::Files), QStringList());

        QVERIFY(QFile::remove(backupsPath()));
        QVERIFY(TestFiles::Write(backupsPath(), "a file of the user's"));
        QVERIFY(!add(store(), "one"));
        QCOMPARE(TestFiles::Read(backupsPath()), QByteArray("a file of the user's"));
        QCOMPARE(TestFiles::Read(favoritesPath()), original);
    }

    void listShowsEveryBackupNewestFirst()
    {
        writeFavorites({});
        const QByteArray two =
            TestFiles::FavoritesXml({{QStringLiteral("A"), QStringLiteral("http://a/")},
                                     {QStringLiteral("B"), QStringLiteral("http://b/")}});
        writeBackup(at(2024, 1, 10, 9, 30, 0), two);
        writeBackup(at(2024, 1, 12, 18, 5, 7), "<Favorites><Favorite>");
        writeBackup(at(2024, 1, 12, 18, 5, 7), TestFiles::FavoritesXml({}), 2);
        writeBackup(at(2024, 1, 11, 7, 0, 0), "<Bookmarks/>");
        QVERIFY(TestFiles::Write(
            path(QStringLiteral("Favorites.xml.bk")),
            TestFiles::FavoritesXml({{QStringLiteral("C"), QStringLiteral("http://c/")}})));
        QFile manual(path(QStringLiteral("Favorites.xml.bk")));
        QVERIFY(manual.open(QIODevice::ReadWrite));
        QVERIFY(manual.setFileTime(at(2024, 1, 11, 12, 0, 0), QFileDevice::FileModificationTime));
        manual.close();

        const QList<CFavoritesBackups::Entry> entries =
            CFavoritesBackups(favoritesPath()).List(store().ManualBackupPath());
        QStringList shown;
        for (const CFavoritesBackups::Entry& entry : entries) {
            shown.append(
                QStringLiteral("%1 %2 %3 %4")
                    .arg(CRestoreFavoritesDlg::TimeText(entry), QFileInfo(entry.path).fileName(),
                         entry.readable ? QString::number(entry.count) : QStringLiteral("-"))
                    .arg(entry.readable ? QString() : entry.problem.left(19))
                    .trimmed());
        }
        QCOMPARE(
            shown,
            (QStringList{"2024-01-12  18:05:07 Favorites-20240112-180507-2.xml 0",
                         "2024-01-12  18:05:07 Favorites-20240112-180507.xml - Not well-formed XML",
                         "2024-01-11  12:00:00 Favorites.xml.bk 1",
                         "2024-01-11  07:00:00 Favorites-20240111-070000.xml - It holds no Favorit",
                         "2024-01-10  09:30:00 Favorites-20240110-093000.xml 2"}));
        QVERIFY(!entries.at(2).automatic);
        QVERIFY(entries.at(0).automatic);
    }

    void eachAutomaticBackupSaysWhyItWasMade()
    {
        writeFavorites({{QStringLiteral("Old"), QStringLiteral("http://old.example/")}});
        QVERIFY(add(store(), "one"));
        CFavoritesStore::ImportSummary summary;
        QVERIFY(store().Import({{QStringLiteral("New"), QStringLiteral("http://new/")}}, 0, summary,
                               QStringLiteral("bookmarks.html")));
        const QList<CFavoritesBackups::Entry> made =
            CFavoritesBackups(favoritesPath()).List(store().ManualBackupPath());
        QCOMPARE(made.size(), 2);
        QVERIFY(store().Restore(made.last().path));
        QVERIFY(store().Backup());

        const QList<CFavoritesBackups::Entry> entries =
            CFavoritesBackups(favoritesPath()).List(store().ManualBackupPath());
        QCOMPARE(entries.size(), 4);
        QStringList automatic = reasons(entries);
        // The manual copy takes its place by time, which here is the same second.
        QVERIFY(automatic.removeOne(QStringLiteral("Favorites > Backup (Favorites.xml.bk)")));
        QCOMPARE(automatic, (QStringList{QStringLiteral("Before restoring the backup made %1")
                                             .arg(CRestoreFavoritesDlg::TimeText(made.last())),
                                         "Before importing bookmarks.html",
                                         "Start of session, before its first change"}));

        // Backups from before notes were kept, and notes that make no sense, say only that.
        writeBackup(at(2020, 1, 1, 0, 0, 0), TestFiles::FavoritesXml({}));
        writeBackup(at(2020, 1, 2, 0, 0, 0), TestFiles::FavoritesXml({}));
        QVERIFY(TestFiles::Write(
            QDir(backupsPath()).filePath(QStringLiteral("Favorites-20200102-000000.txt")),
            "<b>reformat the disk</b>\n"));
        const QList<CFavoritesBackups::Entry> all =
            CFavoritesBackups(favoritesPath()).List(store().ManualBackupPath());
        QCOMPARE(reasons(all.mid(4)), (QStringList{"Automatic", "Automatic"}));
    }

    void restoreOfAGoodBackupComesBackExactly()
    {
        writeFavorites({{QStringLiteral("Now"), QStringLiteral("http://now/")}});
        const QByteArray current = TestFiles::Read(favoritesPath());
        const QByteArray earlier =
            TestFiles::FavoritesXml({{QStringLiteral("Then"), QStringLiteral("http://then/")},
                                     {QStringLiteral("Too"), QStringLiteral("http://too/")}});
        writeBackup(at(2024, 2, 1, 10, 0, 0), earlier);
        const QString chosen =
            QDir(backupsPath()).filePath(CFavoritesBackups::NameFor(at(2024, 2, 1, 10, 0, 0)));
        QVERIFY(store().Restore(chosen));
        QCOMPARE(TestFiles::Read(favoritesPath()), earlier);
        // What was there is a backup now, and the restored one is still there.
        QCOMPARE(backups().size(), 2);
        QCOMPARE(backup(backups().last()), current);
        QCOMPARE(backup(backups().first()), earlier);
        // The restore was this run's backup: the next change needs none.
        QVERIFY(add(store(), "after"));
        QCOMPARE(backups().size(), 2);

        // A missing Favorites.xml is brought back as well.
        QVERIFY(QFile::remove(favoritesPath()));
        QVERIFY(store().Restore(chosen));
        QCOMPARE(TestFiles::Read(favoritesPath()), earlier);
    }

    void restoreOfAnUnreadableBackupOrAFailedWriteChangesNothing()
    {
        writeFavorites({{QStringLiteral("Now"), QStringLiteral("http://now/")}});
        const QByteArray current = TestFiles::Read(favoritesPath());
        writeBackup(at(2024, 2, 1, 10, 0, 0), "<Favorites><Favorite>");
        writeBackup(
            at(2024, 2, 2, 10, 0, 0),
            TestFiles::FavoritesXml({{QStringLiteral("A long list"),
                                      QStringLiteral("http://long.example/one/two/three/")}}));
        const QString broken =
            QDir(backupsPath()).filePath(CFavoritesBackups::NameFor(at(2024, 2, 1, 10, 0, 0)));
        const QString good =
            QDir(backupsPath()).filePath(CFavoritesBackups::NameFor(at(2024, 2, 2, 10, 0, 0)));
        const QStringList before = everyFile();

        const FavoritesResult unreadable = store().Restore(broken);
        QCOMPARE(unreadable.code, Code::Failed);
        QVERIFY2(
            unreadable.reason.contains(QStringLiteral("The backup %1 cannot be read").arg(broken)),
            qPrintable(unreadable.reason));

        // The backup of the current list fits; the longer restored file does not.
        CXmlTestSeam::SetFailures({xml::S_OK, {}, -1, current.size() + 1});
        const FavoritesResult full = store().Restore(good);
        QCOMPARE(full.code, Code::Failed);
        QVERIFY(full.reason.contains(QStringLiteral("No space left on device")));
        QCOMPARE(TestFiles::Read(favoritesPath()), current);
        // The backup made for it is taken back, with its note.
        QCOMPARE(everyFile(), before);
        QCOMPARE(QDir(folder().path()).entryList(QDir::Files).filter(QStringLiteral(".tmp")),
                 QStringList());
    }

    void restoreDialogOffersOnlyReadableBackups()
    {
        writeFavorites({{QStringLiteral("Now"), QStringLiteral("http://now/")}});
        const QByteArray earlier =
            TestFiles::FavoritesXml({{QStringLiteral("Then"), QStringLiteral("http://then/")}});
        writeBackup(at(2024, 3, 1, 9, 0, 0), earlier);
        writeBackup(at(2024, 3, 2, 9, 0, 0), "not xml at all");
        MessageCapture messages;
        messages.answer(IDNO);
        ModalDriver driver;
        driver.next<CRestoreFavoritesDlg>([&](CRestoreFavoritesDlg* dialog) {
            QTreeWidget* list = dialog->list();
            QCOMPARE(list->topLevelItemCount(), 2);
            QTreeWidgetItem* broken = list->topLevelItem(0);
            QCOMPARE(broken->text(0), QStringLiteral("2024-03-02  09:00:00"));
            // Greyed; the reason is the tooltip, so the columns beside it stay whole.
            QCOMPARE(broken->text(1), QStringLiteral("Cannot be read"));
            QVERIFY(!(broken->flags() & Qt::ItemIsEnabled));
            QVERIFY(!(broken->flags() & Qt::ItemIsSelectable));
            for (int column = 0; column < 3; ++column)
                QVERIFY(broken->toolTip(column).startsWith(
                    QStringLiteral("This backup cannot be read: ")));
            QCOMPARE(broken->text(2), QStringLiteral("Automatic"));
            const int third = list->header()->sectionViewportPosition(2);
            QVERIFY(third + list->fontMetrics().horizontalAdvance(broken->text(2)) <
                    list->viewport()->width());
            QCOMPARE(list->currentItem(), list->topLevelItem(1));
            QCOMPARE(list->topLevelItem(1)->text(1), QStringLiteral("1 favorite"));
            QVERIFY(dialog->restoreButton()->isEnabled());
            // Clicking the unreadable one chooses nothing.
            list->clearSelection();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(broken).center());
            QVERIFY(!dialog->restoreButton()->isEnabled());
            list->setCurrentItem(list->topLevelItem(1));
            dialog->restoreButton()->click();
            QVERIFY(dialog->isVisible());
            dialog->restoreButton()->click();
        });
        QVERIFY(CRestoreFavoritesDlg::Run(store()));
        QVERIFY(!driver.timedOut());
        QVERIFY(driver.done());
        QCOMPARE(messages.texts().size(), 3);
        QCOMPARE(messages.texts().at(0),
                 QStringLiteral("Replace My Favorites with the backup made 2024-03-01  09:00:00 (1 "
                                "favorite)?\nThe list as it is now is backed up first."));
        QVERIFY(messages.texts().at(2).startsWith(QStringLiteral("My Favorites is restored")));
        QCOMPARE(TestFiles::Read(favoritesPath()), earlier);
    }

    void restoreWithoutAnyBackupSaysSo()
    {
        writeFavorites({});
        MessageCapture messages;
        QVERIFY(!CRestoreFavoritesDlg::Run(store()));
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY(messages.texts().first().startsWith(
            QStringLiteral("There is no backup of My Favorites yet.")));
    }
};

KESTRIN_TEST_MAIN(FavoritesRestoreTest)
#include "tst_favoritesrestore.moc"
