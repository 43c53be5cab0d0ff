// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "platform/SkinEngine.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {
int reportBars(SplitInfo& info)
{
    info.cxSplitter = 7;
    info.cySplitter = 5;
    return 0;
}

QByteArray skinPath()
{
    return QDir(TestFiles::SourceDataDir())
        .filePath(QStringLiteral("Skin/Minimized.ssk"))
        .toLocal8Bit();
}

// Notes what the application's style sheet was when a widget was first painted.
class PaintWitness : public QObject
{
public:
    QString sheetAtFirstPaint;
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            sheetAtFirstPaint = qApp->styleSheet();
        }
        return QObject::eventFilter(watched, event);
    }
};
} // namespace

class SkinEngineTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void firstSkinIsAppliedOnceWithTheSplitterRules();
    void firstSkinWithoutAFrameIsOnBeforeAnythingIsDrawn();
    void laterSkinsApplyAtOnce();
};

void SkinEngineTest::cleanup()
{
    GetSplitterInfo(nullptr);
    ExitSkin();
}

void SkinEngineTest::firstSkinIsAppliedOnceWithTheSplitterRules()
{
    QVERIFY(QApplication::allWidgets().isEmpty());
    QCOMPARE(InitializeSkin(skinPath().constData()), 1);
    QVERIFY(SkinEngine::CurrentSkinPath().endsWith(QStringLiteral("Skin/Minimized.ssk")));
    // Widgets made before the frame hands over its splitter are not styled twice.
    QPushButton early(QStringLiteral("Early"));
    QVERIFY(qApp->styleSheet().isEmpty());

    GetSplitterInfo(&reportBars);
    const QString sheet = qApp->styleSheet();
    QVERIFY(sheet.contains(QStringLiteral("QMenuBar::item")));
    QVERIFY(sheet.contains(QStringLiteral("QSplitter::handle:horizontal { width: 7px; }")));
    QVERIFY(sheet.contains(QStringLiteral("QSplitter::handle:vertical { height: 5px; }")));
    QCOMPARE(SkinEngine::CurrentStyleSheet(), sheet);
    // Nothing is applied again once events run.
    QCoreApplication::processEvents();
    QCOMPARE(qApp->styleSheet(), sheet);
}

void SkinEngineTest::firstSkinWithoutAFrameIsOnBeforeAnythingIsDrawn()
{
    QCOMPARE(InitializeSkin(skinPath().constData()), 1);
    QPushButton button(QStringLiteral("Plain"));
    PaintWitness witness;
    button.installEventFilter(&witness);
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    QTRY_VERIFY(witness.painted);
    QVERIFY(witness.sheetAtFirstPaint.contains(QStringLiteral("QMenuBar::item")));
    // Without a splitter, no rules for one.
    QVERIFY(!witness.sheetAtFirstPaint.contains(QStringLiteral("QSplitter::handle:horizontal {")));
}

void SkinEngineTest::laterSkinsApplyAtOnce()
{
    QPushButton button(QStringLiteral("Shown"));
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    QCOMPARE(LoadSkin(skinPath().constData()), 1);
    QVERIFY(qApp->styleSheet().contains(QStringLiteral("QMenuBar::item")));
    // A missing file leaves the look as it is.
    const QString before = qApp->styleSheet();
    QCOMPARE(LoadSkin("Skin\\NoSuchSkin.ssk"), 0);
    QCOMPARE(qApp->styleSheet(), before);

    // Nor does a pipe in its place, which nothing ever writes to: the program goes on.
    QTemporaryDir folder;
    const QByteArray pipe = QFile::encodeName(folder.filePath(QStringLiteral("Pipe.ssk")));
    QCOMPARE(::mkfifo(pipe.constData(), 0600), 0);
    QCOMPARE(LoadSkin(pipe.constData()), 0);
    QCOMPARE(qApp->styleSheet(), before);
}

KESTRIN_TEST_MAIN(SkinEngineTest)
#include "tst_skinengine.moc"
