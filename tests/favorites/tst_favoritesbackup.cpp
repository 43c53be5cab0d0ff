// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FavoritesTestCase.h"
#include "support/CoreTestMain.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFileInfo>

#include <memory>
#include <sys/mount.h>
#include <unistd.h>

namespace {
const QString kSource = QStringLiteral("Favorites.xml");
const QString kBackup = QStringLiteral("Favorites.xml.bk");

QByteArray pattern(int size)
{
    QByteArray content;
    for (int i = 0; i < size; ++i)
        content.append(char((i * 7 + 3) % 256));
    return content;
}
} // namespace

class FavoritesBackupTest : public FavoritesTestCase
{
    Q_OBJECT

private:
    [[nodiscard]] QStringList entries() const { return folder().entries(); }

    QString m_mountPoint;

private slots:
    void cleanup()
    {
        if (!m_mountPoint.isEmpty())
            ::umount2(QFile::encodeName(m_mountPoint).constData(), MNT_DETACH);
        m_mountPoint.clear();
        FavoritesTestCase::cleanup();
    }

    void backupCopiesTheFileExactly_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("empty") << 0;
        QTest::newRow("one buffer") << 512;
        QTest::newRow("two buffers, the second short") << 1000;
        QTest::newRow("larger than any buffer") << 300000;
    }

    void backupCopiesTheFileExactly()
    {
        QFETCH(int, size);
        const QByteArray content = pattern(size);
        QVERIFY(TestFiles::Write(path(kSource), content));
        QVERIFY(TestFiles::Write(path(kBackup), QByteArray(1500, 'o')));
        const FavoritesResult result = store().Backup();
        QCOMPARE(result.code, Code::Done);
        QCOMPARE(result.path, path(kBackup));
        QCOMPARE(TestFiles::Read(path(kBackup)), content);
        QCOMPARE(entries(), (QStringList{kSource, kBackup}));
    }

    void failedBackupKeepsThePreviousOneAndSaysWhy_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("target");
        QTest::addColumn<Code>("code");
        QTest::newRow("missing source")
            << QString() << QStringLiteral("file") << Code::SourceUnreadable;
        QTest::newRow("backup name taken by a directory")
            << QStringLiteral("file") << QStringLiteral("directory") << Code::BackupUnwritable;
        QTest::newRow("read error during the copy")
            << QStringLiteral("/proc/self/mem") << QStringLiteral("file") << Code::SourceReadError;
    }

    void failedBackupKeepsThePreviousOneAndSaysWhy()
    {
        QFETCH(QString, source);
        QFETCH(QString, target);
        QFETCH(Code, code);
        if (source == QLatin1String("file"))
            QVERIFY(TestFiles::Write(path(kSource), TestFiles::FavoritesXml({})));
        else if (!source.isEmpty())
            QVERIFY(QFile::link(source, path(kSource)));
        const QByteArray previous = "<Favorites><Favorite/></Favorites>";
        if (target == QLatin1String("directory"))
            QVERIFY(QDir(folder().path()).mkdir(kBackup));
        else
            QVERIFY(TestFiles::Write(path(kBackup), previous));
        const QStringList before = entries();

        const FavoritesResult result = store().Backup();
        QCOMPARE(result.code, code);
        QVERIFY(code == Code::SourceUnreadable || !result.reason.isEmpty());
        if (target == QLatin1String("file"))
            QCOMPARE(TestFiles::Read(path(kBackup)), previous);
        else
            QVERIFY(QFileInfo(path(kBackup)).isDir());
        QCOMPARE(entries(), before);
    }

    void backupReplacesALinkAndNeverWritesWhereItPoints_data()
    {
        QTest::addColumn<QString>("linkTarget");
        QTest::newRow("file elsewhere") << QStringLiteral("elsewhere/victim.conf");
        QTest::newRow("dangling") << QStringLiteral("elsewhere/missing.conf");
        QTest::newRow("device") << QStringLiteral("/dev/full");
    }

    void backupReplacesALinkAndNeverWritesWhereItPoints()
    {
        QFETCH(QString, linkTarget);
        QVERIFY(QDir(folder().path()).mkdir(QStringLiteral("elsewhere")));
        const QByteArray victim = "do not touch\n";
        QVERIFY(TestFiles::Write(path(QStringLiteral("elsewhere/victim.conf")), victim));
        const QByteArray content =
            TestFiles::FavoritesXml({{QStringLiteral("Linked"), QStringLiteral("http://l/")}});
        QVERIFY(TestFiles::Write(path(kSource), content));
        QVERIFY(QFile::link(linkTarget, path(kBackup)));

        QCOMPARE(store().Backup().code, Code::Done);
        const QFileInfo backup(path(kBackup));
        QVERIFY(!backup.isSymLink() && backup.isFile());
        QCOMPARE(TestFiles::Read(path(kBackup)), content);
        QCOMPARE(TestFiles::Read(path(QStringLiteral("elsewhere/victim.conf"))), victim);
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("elsewhere/missing.conf"))));
    }

    void backupOnAFullDiskKeepsTheLastGoodCopy()
    {
        if (::geteuid() != 0)
            QSKIP("mounting a small file system to fill needs root");
        m_mountPoint = path(QStringLiteral("small"));
        QVERIFY(QDir(folder().path()).mkdir(QStringLiteral("small")));
        if (::mount("tmpfs", QFile::encodeName(m_mountPoint).constData(), "tmpfs", 0,
                    "size=256k") != 0) {
            m_mountPoint.clear();
            QSKIP("this system does not let the test mount a tmpfs");
        }
        QVERIFY(QDir::setCurrent(m_mountPoint));
        const QByteArray good = pattern(60000);
        const QByteArray current = pattern(90000);
        QVERIFY(TestFiles::Write(kBackup, good));
        QVERIFY(TestFiles::Write(kSource, current));
        // Fill what is left but for less than the new copy needs.
        QFile filler(QStringLiteral("filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size()) {
        }
        filler.close();
        QVERIFY(filler.resize(filler.size() - 40000));
        const QStringList before = QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

        CFavoritesStore small(QDir(m_mountPoint).filePath(kSource));
        const FavoritesResult result = small.Backup();
        QCOMPARE(result.code, Code::BackupUnwritable);
        QVERIFY2(result.reason.contains(QStringLiteral("No space left on device")),
                 qPrintable(result.reason));
        QCOMPARE(TestFiles::Read(kBackup), good);
        QCOMPARE(QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);

        // With room again the same command succeeds.
        QVERIFY(QFile::remove(QStringLiteral("filler")));
        QCOMPARE(small.Backup().code, Code::Done);
        QCOMPARE(TestFiles::Read(kBackup), current);
    }
};

KESTRIN_CORE_TEST_MAIN(FavoritesBackupTest)
#include "tst_favoritesbackup.moc"
