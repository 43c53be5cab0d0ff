// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "browser/CKestrinNewsReaderView.h"
#include "catalog/CLeftView.h"
#include "catalog/CatalogFilterEdit.h"
#include "frame/CMainFrame.h"
#include "res/Resource.h"
#include "support/AppFixture.h"
#include "support/TestMain.h"
#include "support/TreeFixture.h"

// Finding a paper in the real program, by the keys alone.
class CatalogFindTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void findKeyTypingAndDownOpenAPaperFromAClosedState();
    void theFilterBoxBelongsToTheLeftPane();

private:
    // The real program with a blank home page, its window active.
    static std::unique_ptr<AppFixture> StartActive();
};

std::unique_ptr<AppFixture> CatalogFindTest::StartActive()
{
    auto fixture = std::make_unique<AppFixture>();
    fixture->setInt("IndexPage", 1);
    if (!fixture->start())
        return nullptr;
    fixture->frame()->activateWindow();
    if (!QTest::qWaitForWindowActive(fixture->frame()))
        return nullptr;
    return fixture;
}

void CatalogFindTest::initTestCase()
{
    // The catalog's sites are real addresses: no host name resolves, so nothing leaves here.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " --host-resolver-rules=\"MAP * ~NOTFOUND\"");
}

void CatalogFindTest::findKeyTypingAndDownOpenAPaperFromAClosedState()
{
    const auto fixture = StartActive();
    QVERIFY(fixture);
    CMainFrame* frame = fixture->frame();
    CLeftView* tree = fixture->tree();
    QTreeWidgetItem* california = TreeFixture::childNamed(
        TreeFixture::childNamed(tree->topLevelItem(0), QStringLiteral("American States")),
        QStringLiteral("[CA]California"));
    QVERIFY(california);
    QVERIFY(!california->isExpanded());
    tree->setFocus();

    QTest::keyClick(tree, Qt::Key_K, Qt::ControlModifier);
    QTRY_VERIFY(qobject_cast<CatalogFilterEdit*>(QApplication::focusWidget()));
    QWidget* box = QApplication::focusWidget();
    QTest::keyClicks(box, QStringLiteral("Albion Monitor"));
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(frame->windowTitle(), QStringLiteral("Albion Monitor - Kestrin News Reader"));
    QCOMPARE(tree->currentItem()->parent(), california);
    QTRY_COMPARE(QApplication::focusWidget(), tree);

    // Ctrl+K again selects what was typed, ready for the next paper.
    QTest::keyClick(tree, Qt::Key_K, Qt::ControlModifier);
    QTRY_COMPARE(QApplication::focusWidget(), box);
    QCOMPARE(static_cast<CatalogFilterEdit*>(box)->selectedText(),
             QStringLiteral("Albion Monitor"));
}

void CatalogFindTest::theFilterBoxBelongsToTheLeftPane()
{
    const auto fixture = StartActive();
    QVERIFY(fixture);
    CMainFrame* frame = fixture->frame();
    QTRY_VERIFY(fixture->browser()->hasEngine());

    frame->SendCommand(ID_CATALOG_FIND);
    QTRY_VERIFY(qobject_cast<CatalogFilterEdit*>(QApplication::focusWidget()));
    QCOMPARE(frame->GetActiveView(), fixture->tree());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    QCOMPARE(frame->GetActiveView(), fixture->browser());
    QTRY_VERIFY(fixture->browser()->isAncestorOf(QApplication::focusWidget()));

    // From the page, Ctrl+K reaches the box too.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_K, Qt::ControlModifier);
    QTRY_VERIFY(qobject_cast<CatalogFilterEdit*>(QApplication::focusWidget()));
    QCOMPARE(frame->GetActiveView(), fixture->tree());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ShiftModifier);
    QTRY_VERIFY(fixture->browser()->isAncestorOf(QApplication::focusWidget()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ShiftModifier);
    QTRY_COMPARE(QApplication::focusWidget(), fixture->tree());
}

KESTRIN_TEST_MAIN(CatalogFindTest)
#include "tst_catalogfind.moc"
