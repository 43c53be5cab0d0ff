// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "catalog/NameOrder.h"
#include "support/CoreTestMain.h"

#include <QRandomGenerator>

#include <algorithm>
#include <numeric>

namespace {
// Names built from pieces that collators treat apart: case alone, accents, letters that
// fold to two or to ASCII, digits, punctuation, space, a character outside the BMP, and
// pairs some languages read as one letter. Every tenth name comes again in other case.
QStringList sampleNames(int count)
{
    const QStringList pieces{
        "a",    "A",      "b",    "B",     "z",     "Z",          "e",          "E",
        "é",    "É",      "è",    "ä",     "Ä",     "å",          "æ",          "ø",
        "ß",    "ss",     "SS",   "ı",     "İ",     "i",          "I",          "\u212A",
        "k",    "\u017F", "s",    "ch",    "Ch",    "CH",         "h",          "c",
        "0",    "1",      "2",    "9",     "10",    "٣",          " ",          "  ",
        "-",    "_",      ".",    ",",     "'",     "’",          "(",          "[",
        "&",    "\t",     "ａ",   "Ａ",    "ﬁ",     "\U0001F600", "\U00010400", "\U00010428",
        "News", "NEWS",   "news", "Paper", "paper", "Daily",      "ö",          "Ö"};
    QRandomGenerator random(23);
    QStringList names;
    while (names.size() < count) {
        QString name;
        const int length = int(random.bounded(0, 7));
        for (int i = 0; i < length; ++i)
            name += pieces.at(int(random.bounded(qsizetype(pieces.size()))));
        names.append(name);
        if (names.size() % 10 == 0) {
            names.append(name.toUpper());
            names.append(name.toLower());
        }
    }
    return names;
}

std::vector<int> byComparison(const QCollator& collator, const QStringList& names)
{
    std::vector<int> order(std::size_t(names.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return collator.compare(names.at(a), names.at(b)) < 0; });
    return order;
}
} // namespace

class NameOrderTest : public QObject
{
    Q_OBJECT

private slots:
    void sortsAsTheCollatorCompares_data();
    void sortsAsTheCollatorCompares();
};

void NameOrderTest::sortsAsTheCollatorCompares_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<bool>("ignoreCase");
    QTest::addColumn<QString>("start");
    QTest::newRow("C, any case") << QLocale::c() << true << QString();
    QTest::newRow("C, case counts") << QLocale::c() << false << QString();
    QTest::newRow("C, one start") << QLocale::c() << true << QStringLiteral("Paper ");
    QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates) << true
                             << QString();
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << true << QString();
    QTest::newRow("Swedish") << QLocale(QLocale::Swedish, QLocale::Sweden) << true << QString();
    QTest::newRow("Czech") << QLocale(QLocale::Czech, QLocale::CzechRepublic) << true << QString();
    QTest::newRow("Turkish") << QLocale(QLocale::Turkish, QLocale::Turkey) << true << QString();
}

void NameOrderTest::sortsAsTheCollatorCompares()
{
    QFETCH(QLocale, locale);
    QFETCH(bool, ignoreCase);
    QFETCH(QString, start);
    QCollator collator(locale);
    collator.setCaseSensitivity(ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive);
    QStringList names = sampleNames(4000);
    // Names that all begin alike, some ending there, some with what sorts below a letter.
    if (!start.isEmpty()) {
        for (QString& name : names)
            name.prepend(start);
        names.append({start, start + QChar(0), start + QStringLiteral("\t"), start.toUpper()});
    }
    const auto nameAt = [&](const QStringList& list) {
        return [&list](int i) { return list.at(i); };
    };

    const std::vector<int> expected = byComparison(collator, names);
    QCOMPARE(NameOrder::Sorted(collator, int(names.size()), nameAt(names)), expected);

    // In order already, and in reverse, names that compare equal keep their places.
    QStringList sorted;
    for (const int i : expected)
        sorted.append(names.at(i));
    QCOMPARE(NameOrder::Sorted(collator, int(sorted.size()), nameAt(sorted)),
             byComparison(collator, sorted));
    QStringList reversed = sorted;
    std::reverse(reversed.begin(), reversed.end());
    QCOMPARE(NameOrder::Sorted(collator, int(reversed.size()), nameAt(reversed)),
             byComparison(collator, reversed));
}

KESTRIN_CORE_TEST_MAIN(NameOrderTest)
#include "tst_nameorder.moc"
