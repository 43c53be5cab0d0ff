// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "linkcheck/LinkCheckWindow.h"
#include "linkcheck/LinkFinding.h"
#include "linkcheck/LinkReportDialog.h"
#include "platform/ExternalBrowser.h"
#include "support/TestMain.h"

#include <QClipboard>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>

namespace {
LinkResult makeResult(LinkResult::Status status, QDate day, const QString& newUrl = {})
{
    LinkResult result;
    result.status = status;
    result.httpStatus = status == LinkResult::Status::Dead ? 404 : 0;
    result.newUrl = newUrl;
    result.checked = QDateTime(day, QTime(12, 0), Qt::UTC);
    return result;
}

QPushButton* buttonNamed(QWidget* dialog, const QString& text)
{
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

QStringList column(const QTreeWidget* list, int column)
{
    QStringList texts;
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        texts.append(list->topLevelItem(row)->text(column));
    return texts;
}
} // namespace

class LinkWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void cleanup() { ExternalBrowser::SetLauncher({}); }

    void countsReadAsASentence();
    void timeLeftRoundsUpAndWaitsForEnoughData();
    void reportListsOnlyWhatNeedsAttention();
    void reportSortsByFindingDateAndName();
    void reportOpensAndCopies();
    void useNewAddressOnlyForAMovedFavorite();
    void emptyReportSaysWhy();

private:
    // Targets and results: a dead catalog site, a moved favorite, the same address moved
    // in the catalog, an unsure site, an alive one and one never checked.
    void fill(LinkReportDialog& report);
};

void LinkWindowsTest::countsReadAsASentence()
{
    LinkChecker::Progress progress;
    progress.total = 2716;
    progress.done = 1254;
    progress.alive = 1160;
    progress.dead = 9;
    progress.moved = 31;
    progress.unsure = 4;
    // Fifty tried while it is not known yet whether the computer is offline: not checked.
    QCOMPARE(LinkCheckWindow::CountsText(progress),
             QStringLiteral("1,204 of 2,716 checked: 9 dead, 31 moved, 4 unsure"));
    // Found offline: the rest is not checked, said the same way in the window's result.
    progress.done = 2716;
    progress.notChecked = 1512;
    QCOMPARE(LinkCheckWindow::CountsText(progress),
             QStringLiteral("1,204 of 2,716 checked: 9 dead, 31 moved, 4 unsure; 1,512 not "
                            "checked"));
}

void LinkWindowsTest::timeLeftRoundsUpAndWaitsForEnoughData()
{
    // Too early to tell.
    QVERIFY(LinkCheckWindow::TimeLeftText(60000, 5, 100).isEmpty());
    QVERIFY(LinkCheckWindow::TimeLeftText(1000, 50, 100).isEmpty());
    QVERIFY(LinkCheckWindow::TimeLeftText(60000, 100, 100).isEmpty());
    // 1,204 done in 2 minutes: 1,512 more take about 150.7 seconds.
    QCOMPARE(LinkCheckWindow::TimeLeftText(120000, 1204, 2716),
             QStringLiteral("About 3 minutes left"));
    QCOMPARE(LinkCheckWindow::TimeLeftText(30000, 50, 100),
             QStringLiteral("About 30 seconds left"));
    QCOMPARE(LinkCheckWindow::TimeLeftText(31000, 50, 100),
             QStringLiteral("About 35 seconds left"));
    QCOMPARE(LinkCheckWindow::TimeLeftText(60000, 50, 100), QStringLiteral("About a minute left"));
    QCOMPARE(LinkCheckWindow::TimeLeftText(4000, 90, 100), QStringLiteral("A few seconds left"));
}

void LinkWindowsTest::fill(LinkReportDialog& report)
{
    const QList<LinkTarget> targets{
        {QStringLiteral("Gazette"), QStringLiteral("My Favorites"),
         QStringLiteral("https://gazette.example/"), true},
        {QStringLiteral("Alive Times"), QStringLiteral("National"),
         QStringLiteral("https://alive.example/"), false},
        {QStringLiteral("Closed Courier"), QStringLiteral("[AL]Alabama"),
         QStringLiteral("https://closed.example/"), false},
        {QStringLiteral("Gazette"), QStringLiteral("[AK]Alaska"),
         QStringLiteral("https://gazette.example/"), false},
        {QStringLiteral("blocked bugle"), QStringLiteral("World"),
         QStringLiteral("https://blocked.example/"), false},
        {QStringLiteral("Never Checked"), QStringLiteral("World"),
         QStringLiteral("https://new.example/"), false},
    };
    LinkResultStore::Results results;
    results.insert(QStringLiteral("https://alive.example/"),
                   makeResult(LinkResult::Status::Alive, QDate(2026, 12, 8)));
    results.insert(QStringLiteral("https://closed.example/"),
                   makeResult(LinkResult::Status::Dead, QDate(2026, 12, 1)));
    results.insert(QStringLiteral("https://gazette.example/"),
                   makeResult(LinkResult::Status::Moved, QDate(2026, 12, 8),
                              QStringLiteral("https://chain.example/gazette/")));
    LinkResult blocked = makeResult(LinkResult::Status::Unsure, QDate(2026, 11, 30));
    blocked.httpStatus = 403;
    results.insert(QStringLiteral("https://blocked.example/"), blocked);
    report.setEntries(targets, results);
}

void LinkWindowsTest::reportListsOnlyWhatNeedsAttention()
{
    LinkReportDialog report({});
    fill(report);
    const QTreeWidget* list = report.list();
    QCOMPARE(list->topLevelItemCount(), 4);
    // Most severe first: dead, then moved (both entries of the moved address), then unsure.
    QCOMPARE(column(list, LinkReportDialog::FoundColumn),
             (QStringList{"Dead", "Moved", "Moved", "Unsure"}));
    QCOMPARE(column(list, LinkReportDialog::NameColumn),
             (QStringList{"Closed Courier", "Gazette", "Gazette", "blocked bugle"}));
    const QTreeWidgetItem* dead = list->topLevelItem(0);
    QCOMPARE(dead->text(LinkReportDialog::DetailsColumn), QStringLiteral("page not found (404)"));
    QCOMPARE(dead->text(LinkReportDialog::CheckedColumn), QStringLiteral("1 Dec 2026"));
    QCOMPARE(dead->text(LinkReportDialog::NodeColumn), QStringLiteral("[AL]Alabama"));
    QCOMPARE(dead->text(LinkReportDialog::AddressColumn),
             QStringLiteral("https://closed.example/"));
    QCOMPARE(list->topLevelItem(1)->text(LinkReportDialog::DetailsColumn),
             QStringLiteral("moved to https://chain.example/gazette/"));
    // Counted by address, as the check counts: the gazette is listed twice.
    QCOMPARE(report.findChild<QLabel*>()->text(),
             QStringLiteral("1 dead, 1 moved and 1 unsure, as last found on 8 Dec 2026."));
}

void LinkWindowsTest::reportSortsByFindingDateAndName()
{
    LinkReportDialog report({});
    fill(report);
    QTreeWidget* list = report.list();
    list->sortByColumn(LinkReportDialog::CheckedColumn, Qt::AscendingOrder);
    // By time, not by the text of the date ("30 Nov" after "1 Dec" alphabetically).
    QCOMPARE(column(list, LinkReportDialog::CheckedColumn),
             (QStringList{"30 Nov 2026", "1 Dec 2026", "8 Dec 2026", "8 Dec 2026"}));
    list->sortByColumn(LinkReportDialog::NameColumn, Qt::AscendingOrder);
    QCOMPARE(column(list, LinkReportDialog::NameColumn).first(), QStringLiteral("blocked bugle"));
    list->sortByColumn(LinkReportDialog::FoundColumn, Qt::DescendingOrder);
    QCOMPARE(column(list, LinkReportDialog::FoundColumn).first(), QStringLiteral("Unsure"));
}

void LinkWindowsTest::reportOpensAndCopies()
{
    QStringList opened;
    LinkReportDialog::Actions actions;
    actions.open = [&opened](const QString& url) { opened.append(url); };
    LinkReportDialog report(actions);
    fill(report);
    QPushButton* open = buttonNamed(&report, QStringLiteral("&Open"));
    QVERIFY(!open->isEnabled());
    report.list()->setCurrentItem(report.list()->topLevelItem(0));
    QVERIFY(open->isEnabled());
    open->click();
    QCOMPARE(opened, QStringList{QStringLiteral("https://closed.example/")});
    emit report.list()->itemActivated(report.list()->topLevelItem(3), 0);
    QCOMPARE(opened.last(), QStringLiteral("https://blocked.example/"));

    QList<QUrl> launched;
    ExternalBrowser::SetLauncher([&launched](const QUrl& url) {
        launched.append(url);
        return true;
    });
    report.list()->setCurrentItem(report.list()->topLevelItem(0));
    buttonNamed(&report, QStringLiteral("Open in Your &Browser"))->click();
    QCOMPARE(launched, QList<QUrl>{QUrl(QStringLiteral("https://closed.example/"))});

    buttonNamed(&report, QStringLiteral("&Copy List"))->click();
    const QStringList lines = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 6); // header, four rows, the final line break
    QCOMPARE(lines[0], QStringLiteral("Site\tFound\tDetails\tChecked\tListed under\tAddress"));
    QCOMPARE(lines[1], QStringLiteral("Closed Courier\tDead\tpage not found (404)\t1 Dec 2026\t"
                                      "[AL]Alabama\thttps://closed.example/"));
    QVERIFY(lines[5].isEmpty());
}

void LinkWindowsTest::useNewAddressOnlyForAMovedFavorite()
{
    QList<QPair<LinkTarget, QString>> asked;
    bool succeed = false;
    LinkReportDialog::Actions actions;
    actions.useNewAddress = [&](const LinkTarget& target, const QString& newUrl) {
        asked.append({target, newUrl});
        return succeed;
    };
    LinkReportDialog report(actions);
    fill(report);
    QPushButton* useNew = buttonNamed(&report, QStringLiteral("&Use New Address"));
    QTreeWidget* list = report.list();
    QTreeWidgetItem* favorite = nullptr;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = list->topLevelItem(row);
        list->setCurrentItem(item);
        const bool isFavorite =
            item->text(LinkReportDialog::NodeColumn) == QLatin1String("My Favorites");
        QCOMPARE(useNew->isEnabled(), isFavorite);
        if (isFavorite)
            favorite = item;
    }
    QVERIFY(favorite);
    list->setCurrentItem(favorite);

    // Refused (the store said why): the row stays.
    useNew->click();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(list->topLevelItemCount(), 4);

    succeed = true;
    useNew->click();
    QCOMPARE(asked.size(), 2);
    QCOMPARE(asked.last().first.name, QStringLiteral("Gazette"));
    QCOMPARE(asked.last().first.url, QStringLiteral("https://gazette.example/"));
    QVERIFY(asked.last().first.favorite);
    QCOMPARE(asked.last().second, QStringLiteral("https://chain.example/gazette/"));
    // The favorite's row goes; the catalog entry at the old address stays listed, and with
    // it the move in the summary.
    QCOMPARE(list->topLevelItemCount(), 3);
    QVERIFY(column(list, LinkReportDialog::NodeColumn).contains(QStringLiteral("[AK]Alaska")));
    QVERIFY(!column(list, LinkReportDialog::NodeColumn).contains(QStringLiteral("My Favorites")));
    QCOMPARE(report.findChild<QLabel*>()->text(),
             QStringLiteral("1 dead, 1 moved and 1 unsure, as last found on 8 Dec 2026."));
}

void LinkWindowsTest::emptyReportSaysWhy()
{
    LinkReportDialog report({});
    report.setEntries({{QStringLiteral("A"), QStringLiteral("National"),
                        QStringLiteral("https://a.example/"), false}},
                      {});
    QCOMPARE(report.list()->topLevelItemCount(), 0);
    QVERIFY(report.findChild<QLabel*>()->text().startsWith(
        QLatin1String("No link check has been run yet")));
    QVERIFY(!buttonNamed(&report, QStringLiteral("&Copy List"))->isEnabled());
    LinkResultStore::Results results;
    results.insert(QStringLiteral("https://a.example/"),
                   makeResult(LinkResult::Status::Alive, QDate(2026, 12, 8)));
    report.setEntries({{QStringLiteral("A"), QStringLiteral("National"),
                        QStringLiteral("https://a.example/"), false}},
                      results);
    QCOMPARE(report.findChild<QLabel*>()->text(),
             QStringLiteral("Every checked site was reachable."));
}

KESTRIN_TEST_MAIN(LinkWindowsTest)
#include "tst_linkwindows.moc"
