// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "frame/CMainFrame.h"
#include "support/AppFixture.h"
#include "support/TestMain.h"

#include <QMouseEvent>
#include <QScreen>
#include <QSplitterHandle>

namespace {
// Drags the bar between the tree and the browser pane by dx pixels, as the mouse would.
void dragSplitter(SplitterWnd& splitter, int dx)
{
    QSplitterHandle* handle = splitter.handle(1);
    const QPoint start(handle->width() / 2, handle->height() / 2);
    auto send = [handle](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, handle->mapToGlobal(at), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(handle, &event);
    };
    send(QEvent::MouseButtonPress, start, Qt::LeftButton);
    send(QEvent::MouseMove, start + QPoint(dx, 0), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, start + QPoint(dx, 0), Qt::NoButton);
}

QPoint defaultPosition()
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    return area.topLeft() + QPoint(area.width() / 16, area.height() / 16);
}
} // namespace

// The window's restored size and place and the tree's width are kept between runs, on top
// of WindowSize, which still decides a maximized start.
class WindowLayoutTest : public QObject
{
    Q_OBJECT

private slots:
    void sizePlaceAndTreeWidthSurviveARestart();
    void placeOffEveryScreenIsIgnored();
    void maximizedStartKeepsTheRestoredLayout();
};

void WindowLayoutTest::sizePlaceAndTreeWidthSurviveARestart()
{
    AppFixture fixture;
    fixture.setInt("IndexPage", 1);
    QVERIFY(fixture.start());
    CMainFrame* frame = fixture.frame();
    QVERIFY(QTest::qWaitForWindowExposed(frame));
    QTRY_COMPARE(frame->splitter().sizes().first(), 250);

    frame->resize(700, 560);
    frame->move(40, 30);
    QTRY_COMPARE(fixture.intValue("WindowWidth"), 700);
    QTRY_COMPARE(fixture.intValue("WindowHeight"), 560);
    QTRY_COMPARE(fixture.intValue("WindowLeft"), 40);
    QTRY_COMPARE(fixture.intValue("WindowTop"), 30);
    dragSplitter(frame->splitter(), 60);
    QCOMPARE(frame->splitter().sizes().first(), 310);
    QTRY_COMPARE(fixture.intValue("TreeWidth"), 310);
    QCOMPARE(fixture.intValue("WindowSize"), 5);

    QVERIFY(fixture.restart());
    frame = fixture.frame();
    QVERIFY(QTest::qWaitForWindowExposed(frame));
    QCOMPARE(frame->size(), QSize(700, 560));
    QCOMPARE(frame->pos(), QPoint(40, 30));
    QTRY_COMPARE(frame->splitter().sizes().first(), 310);
    QVERIFY(!frame->isMaximized());
}

void WindowLayoutTest::placeOffEveryScreenIsIgnored()
{
    AppFixture fixture;
    fixture.setInt("IndexPage", 1);
    fixture.setInt("WindowLeft", 6000);
    fixture.setInt("WindowTop", -4000);
    fixture.setInt("WindowWidth", 700);
    fixture.setInt("WindowHeight", 50000);
    QVERIFY(fixture.start());
    CMainFrame* frame = fixture.frame();
    QVERIFY(QTest::qWaitForWindowExposed(frame));
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(frame->pos(), defaultPosition());
    // The size is kept, but never more than the screen holds.
    QCOMPARE(frame->width(), 700);
    QVERIFY(frame->height() <= area.height());
}

void WindowLayoutTest::maximizedStartKeepsTheRestoredLayout()
{
    AppFixture fixture;
    fixture.setInt("IndexPage", 1);
    fixture.setInt("WindowSize", 3);
    fixture.setInt("WindowLeft", 50);
    fixture.setInt("WindowTop", 40);
    fixture.setInt("WindowWidth", 640);
    fixture.setInt("WindowHeight", 480);
    QVERIFY(fixture.start());
    CMainFrame* frame = fixture.frame();
    QTRY_VERIFY(frame->isMaximized());
    QTRY_COMPARE(fixture.intValue("WindowSize"), 3);
    // The maximized size is not the one to come back to.
    QCOMPARE(fixture.intValue("WindowWidth"), 640);
    QCOMPARE(fixture.intValue("WindowLeft"), 50);

    frame->showNormal();
    QTRY_COMPARE(frame->size(), QSize(640, 480));
    QCOMPARE(frame->pos(), QPoint(50, 40));
    QTRY_COMPARE(fixture.intValue("WindowSize"), 5);
}

KESTRIN_TEST_MAIN(WindowLayoutTest)
#include "tst_windowlayout.moc"
