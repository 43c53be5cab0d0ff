// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "headlines/HeadlineModel.h"

#include <QFont>
#include <QTest>

namespace {
const QDateTime kNow(QDate(2026, 12, 8), QTime(15, 30));

StoredItem item(qint64 id, const QString& site, const QString& title, const QDateTime& time,
                bool read = false)
{
    StoredItem result;
    result.id = id;
    result.site = site;
    result.title = title;
    result.link = site + QString::number(id);
    result.time = time.toUTC();
    result.read = read;
    return result;
}
} // namespace

// The list's rows: what each column says, and how they sort.
class HeadlineModelTest : public QObject
{
    Q_OBJECT

private slots:
    void timeSaysTodayYesterdayOrTheDay_data();
    void timeSaysTodayYesterdayOrTheDay();
    void sortsByEachColumnNewestFirstWithinTies();
    void readMarksAndTooltip();
};

void HeadlineModelTest::timeSaysTodayYesterdayOrTheDay_data()
{
    QTest::addColumn<QDateTime>("time");
    QTest::addColumn<QString>("text");
    QTest::newRow("this morning") << QDateTime(QDate(2026, 12, 8), QTime(9, 12)) << "09:12";
    QTest::newRow("just after midnight") << QDateTime(QDate(2026, 12, 8), QTime(0, 1)) << "00:01";
    QTest::newRow("late yesterday") << QDateTime(QDate(2026, 12, 7), QTime(23, 59)) << "Yesterday";
    QTest::newRow("earlier this year") << QDateTime(QDate(2026, 12, 3), QTime(8, 0)) << "3 Dec";
    QTest::newRow("last year") << QDateTime(QDate(2025, 12, 31), QTime(8, 0)) << "31 Dec 2025";
    QTest::newRow("unknown") << QDateTime() << "";
}

void HeadlineModelTest::timeSaysTodayYesterdayOrTheDay()
{
    QFETCH(QDateTime, time);
    QFETCH(QString, text);
    QCOMPARE(HeadlineModel::TimeText(time, kNow), text);
}

void HeadlineModelTest::sortsByEachColumnNewestFirstWithinTies()
{
    HeadlineModel model;
    model.setClock([] { return kNow; });
    const QString herald = QStringLiteral("http://herald.example/");
    const QString courier = QStringLiteral("http://courier.example/");
    // The database's order is not the list's: the list sorts.
    model.setItems({item(1, herald, "b story", kNow.addSecs(-7200)),
                    item(2, courier, "a story", kNow.addSecs(-3600)),
                    item(3, herald, "c story", kNow.addSecs(-60)),
                    item(4, "http://unnamed.example/", "d story", kNow.addSecs(-10))},
                   {{herald, "Herald"}, {courier, "courier"}});
    const auto ids = [&] {
        QList<qint64> result;
        for (int row = 0; row < model.rowCount(); ++row)
            result.append(model.itemAt(row)->id);
        return result;
    };
    QCOMPARE(ids(), (QList<qint64>{4, 3, 2, 1}));
    QCOMPARE(model.newestRow(), 0);
    // A paper without a name shows its host.
    QCOMPARE(model.index(0, HeadlineModel::Paper).data().toString(),
             QStringLiteral("unnamed.example"));
    // Names compare without case; one paper's items stay newest first.
    model.sort(HeadlineModel::Paper, Qt::AscendingOrder);
    QCOMPARE(ids(), (QList<qint64>{2, 3, 1, 4}));
    model.sort(HeadlineModel::Headline, Qt::DescendingOrder);
    QCOMPARE(ids(), (QList<qint64>{4, 3, 1, 2}));
    model.sort(HeadlineModel::Time, Qt::AscendingOrder);
    QCOMPARE(ids(), (QList<qint64>{1, 2, 3, 4}));
    QCOMPARE(model.newestRow(), 3);
    // New items keep the order chosen.
    model.setItems({item(5, herald, "e", kNow), item(6, herald, "f", kNow.addSecs(-5))}, {});
    QCOMPARE(ids(), (QList<qint64>{6, 5}));
}

void HeadlineModelTest::readMarksAndTooltip()
{
    HeadlineModel model;
    StoredItem unread = item(1, "http://a.example/", QString(), kNow);
    unread.summary = QString(600, QLatin1Char('s'));
    model.setItems({unread, item(2, "http://a.example/", "Read", kNow.addSecs(-1), true)}, {});
    // No title: the link stands in for it.
    QCOMPARE(model.index(0, HeadlineModel::Headline).data().toString(),
             QStringLiteral("http://a.example/1"));
    QVERIFY(model.index(0, 0).data(Qt::FontRole).value<QFont>().bold());
    QVERIFY(!model.index(1, 0).data(Qt::FontRole).isValid());
    QCOMPARE(model.index(0, 0).data(Qt::ToolTipRole).toString().size(), 501);
    QVERIFY(!model.index(1, 0).data(Qt::ToolTipRole).isValid());
    model.setRead(0, true);
    QVERIFY(!model.index(0, 0).data(Qt::FontRole).isValid());
    model.setRead(1, false);
    model.setAllRead();
    QVERIFY(!model.index(1, 0).data(Qt::FontRole).isValid());
    QCOMPARE(model.rowOfItem(2), 1);
    QCOMPARE(model.rowOfItem(9), -1);
}

QTEST_MAIN(HeadlineModelTest)
#include "tst_headlinemodel.moc"
