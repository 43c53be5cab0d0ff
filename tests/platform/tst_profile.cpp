// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "platform/Profile.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QTemporaryDir>

#include <sys/stat.h>

namespace {
const QString kSection = QStringLiteral("Settings_en");

// What the file on disk holds now (other settings objects of this process would also see
// what is still waiting to be written).
QString onDisk(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The store is replaced by a new file on every write that reaches the disk.
ino_t fileId(const QString& path)
{
    struct stat info
    {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}
} // namespace

// Writes reach the disk at once, together for a batch, and not at all when nothing changed.
class ProfileTest : public QObject
{
    Q_OBJECT

private slots:
    void batchReachesTheDiskWhenItCloses();
    void unchangedValueIsNotWrittenAgain();
    void modesAreStoredAsTheirNumbers();
};

void ProfileTest::batchReachesTheDiskWhenItCloses()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.ini"));
    Profile profile(path);
    QVERIFY(profile.WriteProfileInt(kSection, QStringLiteral("Single"), 1));
    QVERIFY(onDisk(path).contains(QStringLiteral("Single=1")));
    {
        Profile::Batch outer(profile);
        QVERIFY(profile.WriteProfileInt(kSection, QStringLiteral("Left"), 40));
        {
            Profile::Batch inner(profile);
            QVERIFY(profile.WriteProfileInt(kSection, QStringLiteral("Top"), 30));
        }
        QVERIFY(!onDisk(path).contains(QStringLiteral("Left")));
        QVERIFY(!onDisk(path).contains(QStringLiteral("Top")));
        QVERIFY(profile.WriteProfileString(kSection, QStringLiteral("Name"), QStringLiteral("x")));
    }
    const QString stored = onDisk(path);
    QVERIFY(stored.contains(QStringLiteral("Left=40")));
    QVERIFY(stored.contains(QStringLiteral("Top=30")));
    QVERIFY(stored.contains(QStringLiteral("Name=x")));
}

void ProfileTest::unchangedValueIsNotWrittenAgain()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.ini"));
    Profile profile(path);
    QVERIFY(profile.WriteProfileInt(kSection, QStringLiteral("WindowSize"), 5));
    const ino_t written = fileId(path);
    QVERIFY(written != 0);
    QVERIFY(profile.WriteProfileInt(kSection, QStringLiteral("WindowSize"), 5));
    QCOMPARE(fileId(path), written);

    // A change made by another program meanwhile is no reason to skip the write. (Its size
    // differs: the store notices a change by size and time, and the time may not have moved.)
    QVERIFY(TestFiles::Write(path, "[Settings_en]\nWindowSize=3\nTreeWidth=250\n"));
    QVERIFY(profile.WriteProfileInt(kSection, QStringLiteral("WindowSize"), 5));
    QVERIFY(onDisk(path).contains(QStringLiteral("WindowSize=5")));
    QVERIFY(profile.WriteProfileInt(kSection, QStringLiteral("WindowSize"), 3));
    QVERIFY(onDisk(path).contains(QStringLiteral("WindowSize=3")));
}

void ProfileTest::modesAreStoredAsTheirNumbers()
{
    enum class Shade
    {
        Light = 1,
        Dark = 4
    };
    constexpr ModeSetting<Shade> kShade{"Shade", Shade::Dark};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.ini"));
    Profile profile(path);
    QCOMPARE(profile.GetMode(kSection, kShade), Shade::Dark);
    QVERIFY(profile.Write(kSection, kShade, Shade::Light));
    QVERIFY(onDisk(path).contains(QStringLiteral("Shade=1")));
    QCOMPARE(Profile(path).GetMode(kSection, kShade), Shade::Light);

    // A number no value names, written by a later version or by hand, is read as it is.
    // Another size than before: settings read in the same second are only read again when
    // the file's size or time changed.
    QVERIFY(TestFiles::Write(path, "[Settings_en]\nShade=7\nBy=hand\n"));
    QCOMPARE(static_cast<int>(Profile(path).GetMode(kSection, kShade)), 7);
}

KESTRIN_TEST_MAIN(ProfileTest)
#include "tst_profile.moc"
