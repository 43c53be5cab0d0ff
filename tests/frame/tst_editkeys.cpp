// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "browser/CKestrinNewsReaderView.h"
#include "catalog/CLeftView.h"
#include "favorites/ui/CAddModifyFavoriteDlg.h"
#include "frame/CMainFrame.h"
#include "res/Resource.h"
#include "support/AppFixture.h"
#include "support/BrowserSteps.h"
#include "support/ModalDriver.h"
#include "support/TestMain.h"

#include <QClipboard>
#include <QLineEdit>
#include <QWebEnginePage>

namespace {
const QString kSuffix = QStringLiteral(" - Kestrin News Reader");
constexpr int kLoadTimeout = 20000;

// A page with text to select and a form field to edit.
const QString kPage = QStringLiteral(
    "data:text/html,<title>Editing Page</title><p id=p>Copy this sentence</p><input id=i>");

QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

QString fieldValue(CKestrinNewsReaderView* browser)
{
    return BrowserSteps::RunScript(browser->page(),
                                   QStringLiteral("document.getElementById('i').value"))
        .toString();
}

void key(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}
} // namespace

// The frame's Undo, Cut, Copy and Paste keys have no handler of their own: the page or edit
// with the focus gets what they ask for, and so do the edits of dialogs.
class EditKeysTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_fixture.reset(); }
    void copyKeysCopyTheSelectionOfAPage();
    void editKeysEditAFieldOfAPage();
    void editsInTheFrameKeepTheirKeys();
    void editsOfADialogKeepTheirKeys();
    void copyInTheTreeStillDoesNothing();

private:
    CKestrinNewsReaderView* openPage();

    std::unique_ptr<AppFixture> m_fixture;
};

void EditKeysTest::init()
{
    m_fixture = std::make_unique<AppFixture>();
    m_fixture->setInt("IndexPage", 1);
    QVERIFY(m_fixture->start());
}

CKestrinNewsReaderView* EditKeysTest::openPage()
{
    CKestrinNewsReaderView* browser = m_fixture->browser();
    browser->NavigateTo(kPage);
    if (!QTest::qWaitFor(
            [&] {
                return m_fixture->frame()->windowTitle() ==
                       QStringLiteral("Editing Page") + kSuffix;
            },
            kLoadTimeout))
        return nullptr;
    return BrowserSteps::FocusIn(*m_fixture, browser) ? browser : nullptr;
}

void EditKeysTest::copyKeysCopyTheSelectionOfAPage()
{
    CKestrinNewsReaderView* browser = openPage();
    QVERIFY(browser);
    browser->page()->triggerAction(QWebEnginePage::SelectAll);
    QTRY_VERIFY(browser->page()->hasSelection());

    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    key(Qt::Key_C, Qt::ControlModifier);
    QTRY_VERIFY_WITH_TIMEOUT(clipboardText().contains(QStringLiteral("Copy this sentence")),
                             kLoadTimeout);

    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    key(Qt::Key_Insert, Qt::ControlModifier);
    QTRY_VERIFY_WITH_TIMEOUT(clipboardText().contains(QStringLiteral("Copy this sentence")),
                             kLoadTimeout);
}

void EditKeysTest::editKeysEditAFieldOfAPage()
{
    CKestrinNewsReaderView* browser = openPage();
    QVERIFY(browser);
    QVERIFY(BrowserSteps::RunScript(browser->page(),
                                    QStringLiteral("document.getElementById('i').focus(); true"))
                .toBool());
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("gazette"));
    QTRY_COMPARE_WITH_TIMEOUT(fieldValue(browser), QStringLiteral("gazette"), kLoadTimeout);
    auto selectField = [browser] {
        return BrowserSteps::RunScript(
                   browser->page(), QStringLiteral("document.getElementById('i').select(); true"))
            .toBool();
    };

    QVERIFY(selectField());
    key(Qt::Key_X, Qt::ControlModifier);
    QTRY_COMPARE_WITH_TIMEOUT(fieldValue(browser), QString(), kLoadTimeout);
    QTRY_COMPARE(clipboardText(), QStringLiteral("gazette"));
    key(Qt::Key_V, Qt::ControlModifier);
    QTRY_COMPARE_WITH_TIMEOUT(fieldValue(browser), QStringLiteral("gazette"), kLoadTimeout);

    QVERIFY(selectField());
    key(Qt::Key_Delete, Qt::ShiftModifier);
    QTRY_COMPARE_WITH_TIMEOUT(fieldValue(browser), QString(), kLoadTimeout);
    QGuiApplication::clipboard()->setText(QStringLiteral("herald"));
    key(Qt::Key_Insert, Qt::ShiftModifier);
    QTRY_COMPARE_WITH_TIMEOUT(fieldValue(browser), QStringLiteral("herald"), kLoadTimeout);

    // Both undo keys take back the last paste.
    key(Qt::Key_Z, Qt::ControlModifier);
    QTRY_COMPARE_WITH_TIMEOUT(fieldValue(browser), QString(), kLoadTimeout);
    key(Qt::Key_Insert, Qt::ShiftModifier);
    QTRY_COMPARE_WITH_TIMEOUT(fieldValue(browser), QStringLiteral("herald"), kLoadTimeout);
    key(Qt::Key_Backspace, Qt::AltModifier);
    QTRY_COMPARE_WITH_TIMEOUT(fieldValue(browser), QString(), kLoadTimeout);
}

void EditKeysTest::editsInTheFrameKeepTheirKeys()
{
    // An edit in the main window, such as a filter box above the tree.
    auto* edit = new QLineEdit(m_fixture->frame());
    edit->show();
    QVERIFY(BrowserSteps::FocusIn(*m_fixture, edit));
    QTest::keyClicks(edit, QStringLiteral("tribune"));

    edit->selectAll();
    key(Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(clipboardText(), QStringLiteral("tribune"));
    key(Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(edit->text(), QString());
    key(Qt::Key_Backspace, Qt::AltModifier);
    QCOMPARE(edit->text(), QStringLiteral("tribune"));

    edit->selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    key(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboardText(), QStringLiteral("tribune"));
    edit->setReadOnly(true);
    key(Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(edit->text(), QStringLiteral("tribune")); // a read-only edit only copies
    delete edit;
}

void EditKeysTest::editsOfADialogKeepTheirKeys()
{
    ModalDriver driver;
    CAddModifyFavoriteDlg dialog(m_fixture->favorites());
    driver.next<CAddModifyFavoriteDlg>([](CAddModifyFavoriteDlg* shown) {
        auto* name = qobject_cast<QLineEdit*>(shown->GetDlgItem(IDC_FAVORITE_NAME));
        QVERIFY(name);
        name->setFocus();
        QTest::keyClicks(name, QStringLiteral("Evening Post"));
        name->selectAll();
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        QTest::keyClick(name, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboardText(), QStringLiteral("Evening Post"));
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        QTest::keyClick(name, Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(clipboardText(), QStringLiteral("Evening Post"));
        QTest::keyClick(name, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(name->text(), QString());
        QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(name->text(), QStringLiteral("Evening Post"));
        shown->reject();
    });
    dialog.DoModal();
    QVERIFY(!driver.timedOut());
    QVERIFY(driver.done());
}

void EditKeysTest::copyInTheTreeStillDoesNothing()
{
    CLeftView* tree = m_fixture->tree();
    QVERIFY(BrowserSteps::FocusIn(*m_fixture, tree));
    tree->setCurrentItem(tree->topLevelItem(0)->child(1)); // "National"
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    key(Qt::Key_C, Qt::ControlModifier);
    key(Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(clipboardText(), QStringLiteral("before"));
}

KESTRIN_TEST_MAIN(EditKeysTest)
#include "tst_editkeys.moc"
