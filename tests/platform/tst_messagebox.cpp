// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "platform/MessageBox.h"
#include "platform/StatusBar.h"
#include "res/Resource.h"
#include "support/ModalDriver.h"
#include "support/TestMain.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

// The real box, answered by a driver: caption, icon and default button as users see them.
class MessageBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void okBoxShowsTheIconItsTypeNamesUnderTheApplicationsName();
    void yesNoBoxAsksWithYesAsTheDefault();
    void escapeAnswersNo();
    void foreignTextIsShownAsItIs();
};

void MessageBoxTest::okBoxShowsTheIconItsTypeNamesUnderTheApplicationsName()
{
    // A type without an icon shows none: a success is no warning.
    const QList<std::pair<unsigned, QMessageBox::Icon>> icons{
        {MB_OK, QMessageBox::NoIcon},
        {MB_OK | MB_ICONWARNING, QMessageBox::Warning},
        {MB_OK | MB_ICONINFORMATION, QMessageBox::Information},
        {MB_OK | MB_ICONERROR, QMessageBox::Critical},
    };
    for (const auto& [type, icon] : icons) {
        ModalDriver driver;
        driver.next<QMessageBox>([icon](QMessageBox* box) {
            QCOMPARE(box->windowTitle(), QStringLiteral("KestrinNewsReader"));
            QCOMPARE(box->text(), QStringLiteral("备份成功！"));
            QCOMPARE(box->icon(), icon);
            QCOMPARE(box->buttons().size(), 1);
            box->button(QMessageBox::Ok)->click();
        });
        QCOMPARE(MessageBox::Show(QStringLiteral("备份成功！"), type), int(IDOK));
        QVERIFY(driver.done());
    }
}

void MessageBoxTest::yesNoBoxAsksWithYesAsTheDefault()
{
    ModalDriver driver;
    driver.next<QMessageBox>([](QMessageBox* box) {
        QCOMPARE(box->icon(), QMessageBox::Question);
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
        QTest::keyClick(box, Qt::Key_Return);
    });
    QCOMPARE(MessageBox::Show(QStringLiteral("Determined to delete?"), MB_YESNO | MB_ICONQUESTION),
             int(IDYES));
    driver.next<QMessageBox>([](QMessageBox* box) {
        QCOMPARE(box->icon(), QMessageBox::NoIcon);
        box->button(QMessageBox::No)->click();
    });
    QCOMPARE(MessageBox::Show(QStringLiteral("Determined to delete?"), MB_YESNO), int(IDNO));
    QVERIFY(driver.done());
}

void MessageBoxTest::escapeAnswersNo()
{
    ModalDriver driver;
    driver.next<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    QCOMPARE(MessageBox::Show(QStringLiteral("Determined to delete?"), MB_YESNO), int(IDNO));
    QVERIFY(driver.done());
}

void MessageBoxTest::foreignTextIsShownAsItIs()
{
    // A favorite's name, as an imported bookmarks file may carry it.
    const QString text = QStringLiteral(
        "\"<b>Big</b> <img src=\"file:///etc/passwd\">\" is already in My Favorites.");
    ModalDriver driver;
    driver.next<QMessageBox>([&text](QMessageBox* box) {
        auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        QVERIFY(label);
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QCOMPARE(label->text(), text);
        box->button(QMessageBox::Ok)->click();
    });
    MessageBox::Show(text, MB_OK | MB_ICONINFORMATION);
    QVERIFY(driver.done());

    // The status bar's line names sites and favorites too.
    StatusBar bar;
    const int panes[] = {ID_SEPARATOR};
    QVERIFY(bar.SetIndicators(panes));
    bar.show();
    bar.SetMessage(text);
    auto* line = bar.findChild<QLabel*>();
    QVERIFY(line);
    QCOMPARE(line->textFormat(), Qt::PlainText);
    QCOMPARE(line->text(), text);
}

KESTRIN_TEST_MAIN(MessageBoxTest)
#include "tst_messagebox.moc"
