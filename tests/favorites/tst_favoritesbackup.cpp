#include "FavoritesFolder.h"
#include "favorites/CFavoritesStore.h"
#include "support/MessageCapture.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFileInfo>

#include <memory>
#include <sys/mount.h>
#include <unistd.h>

namespace {
const QString kBackupDone = QStringLiteral("备份成功！");
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

class FavoritesBackupTest : public QObject
{
    Q_OBJECT

private:
    [[nodiscard]] QString path(const QString& name) const { return m_dir->filePath(name); }
    [[nodiscard]] QStringList entries() const { return m_dir->entries(); }

    std::unique_ptr<FavoritesFolder> m_dir;
    QString m_mountPoint;

private slots:
    void init()
    {
        m_dir = std::make_unique<FavoritesFolder>();
        QVERIFY(m_dir->isValid());
    }

    void cleanup()
    {
        if (!m_mountPoint.isEmpty())
            ::umount2(QFile::encodeName(m_mountPoint).constData(), MNT_DETACH);
        m_mountPoint.clear();
        m_dir.reset();
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
        MessageCapture messages;
        CFavoritesStore::Backup();
        QCOMPARE(messages.texts(), QStringList{kBackupDone});
        QCOMPARE(messages.requests().first().type, unsigned(MB_OK)); // no warning icon
        QCOMPARE(TestFiles::Read(path(kBackup)), content);
        QCOMPARE(entries(), (QStringList{kSource, kBackup}));
    }

    void failedBackupKeepsThePreviousOneAndSaysWhy_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing source") << QString() << QStringLiteral("file")
                                        << QStringLiteral("读取配置文件 Favorites.xml 失败！");
        QTest::newRow("backup name taken by a directory")
            << QStringLiteral("file") << QStringLiteral("directory")
            << QStringLiteral("创建配置文件 Favorites.xml.bk 失败！");
        QTest::newRow("read error during the copy")
            << QStringLiteral("/proc/self/mem") << QStringLiteral("file")
            << QStringLiteral("读取配置文件 Favorites.xml 时出错");
    }

    void failedBackupKeepsThePreviousOneAndSaysWhy()
    {
        QFETCH(QString, source);
        QFETCH(QString, target);
        QFETCH(QString, message);
        if (source == QLatin1String("file"))
            QVERIFY(TestFiles::Write(path(kSource), TestFiles::FavoritesXml({})));
        else if (!source.isEmpty())
            QVERIFY(QFile::link(source, path(kSource)));
        const QByteArray previous = "<Favorites><Favorite/></Favorites>";
        if (target == QLatin1String("directory"))
            QVERIFY(QDir(m_dir->path()).mkdir(kBackup));
        else
            QVERIFY(TestFiles::Write(path(kBackup), previous));
        const QStringList before = entries();

        MessageCapture messages;
        CFavoritesStore::Backup();
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY2(messages.texts().first().startsWith(message),
                 qPrintable(messages.texts().first()));
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
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("elsewhere")));
        const QByteArray victim = "do not touch\n";
        QVERIFY(TestFiles::Write(path(QStringLiteral("elsewhere/victim.conf")), victim));
        const QByteArray content =
            TestFiles::FavoritesXml({{QStringLiteral("Linked"), QStringLiteral("http://l/")}});
        QVERIFY(TestFiles::Write(path(kSource), content));
        QVERIFY(QFile::link(linkTarget, path(kBackup)));

        MessageCapture messages;
        CFavoritesStore::Backup();
        QCOMPARE(messages.texts(), QStringList{kBackupDone});
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
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("small")));
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

        MessageCapture messages;
        CFavoritesStore::Backup();
        QCOMPARE(messages.texts().size(), 1);
        const QString text = messages.texts().first();
        QVERIFY2(text.startsWith(QStringLiteral("创建配置文件 Favorites.xml.bk 失败！")) &&
                     text.contains(QStringLiteral("No space left on device")),
                 qPrintable(text));
        QCOMPARE(TestFiles::Read(kBackup), good);
        QCOMPARE(QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);

        // With room again the same command succeeds.
        QVERIFY(QFile::remove(QStringLiteral("filler")));
        CFavoritesStore::Backup();
        QCOMPARE(messages.texts().last(), kBackupDone);
        QCOMPARE(TestFiles::Read(kBackup), current);
    }
};

KESTRIN_TEST_MAIN(FavoritesBackupTest)
#include "tst_favoritesbackup.moc"
