// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FeedDate.h"

#include <QList>

#include <optional>

namespace {
// Digits only, and at most maxDigits of them.
std::optional<int> number(QStringView text, int maxDigits = 4)
{
    if (text.isEmpty() || text.size() > maxDigits)
        return std::nullopt;
    int value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

std::optional<int> monthNumber(QStringView name)
{
    static const char* const kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                          "jul", "aug", "sep", "oct", "nov", "dec"};
    if (name.size() < 3)
        return std::nullopt;
    const QString key = name.left(3).toString().toLower();
    for (int i = 0; i < 12; ++i) {
        if (key == QLatin1String(kMonths[i]))
            return i + 1;
    }
    return std::nullopt;
}

bool isDayName(QStringView token)
{
    static const char* const kDays[] = {"mon", "tue", "wed", "thu", "fri", "sat", "sun"};
    if (token.size() < 3)
        return false;
    const QString key = token.left(3).toString().toLower();
    for (const char* day : kDays) {
        if (key == QLatin1String(day))
            return true;
    }
    return false;
}

// "+0100", "-05:00", "+01": seconds east of UTC.
std::optional<int> numericOffset(QStringView zone)
{
    if (zone.size() < 3 || (zone[0] != QLatin1Char('+') && zone[0] != QLatin1Char('-')))
        return std::nullopt;
    const int sign = zone[0] == QLatin1Char('-') ? -1 : 1;
    QString digits = zone.mid(1).toString();
    digits.remove(QLatin1Char(':'));
    if (digits.size() != 2 && digits.size() != 4)
        return std::nullopt;
    const std::optional<int> hours = number(QStringView(digits).left(2), 2);
    const std::optional<int> minutes =
        digits.size() == 4 ? number(QStringView(digits).mid(2), 2) : std::optional<int>(0);
    if (!hours || !minutes || *hours > 23 || *minutes > 59)
        return std::nullopt;
    return sign * (*hours * 3600 + *minutes * 60);
}

// Zone names with one meaning only; "IST" and the like, which name several, are not read.
std::optional<int> namedOffset(QStringView zone)
{
    static const QList<QPair<const char*, int>> kZones = {
        {"UT", 0},         {"UTC", 0},       {"GMT", 0},       {"Z", 0},          {"WET", 0},
        {"EST", -5 * 60},  {"EDT", -4 * 60}, {"CST", -6 * 60}, {"CDT", -5 * 60},  {"MST", -7 * 60},
        {"MDT", -6 * 60},  {"PST", -8 * 60}, {"PDT", -7 * 60}, {"AKST", -9 * 60}, {"AKDT", -8 * 60},
        {"HST", -10 * 60}, {"BST", 60},      {"WEST", 60},     {"CET", 60},       {"CEST", 120},
        {"MET", 60},       {"MEST", 120},    {"EET", 120},     {"EEST", 180},     {"MSK", 180},
        {"JST", 540},      {"KST", 540},     {"AEST", 600},    {"AEDT", 660},     {"ACST", 570},
        {"ACDT", 630},     {"AWST", 480},    {"NZST", 720},    {"NZDT", 780}};
    const QString key = zone.toString().toUpper();
    for (const auto& [name, minutes] : kZones) {
        if (key == QLatin1String(name))
            return minutes * 60;
    }
    // "GMT+0100", "UTC-05:00"
    for (const char* prefix : {"GMT", "UTC", "UT"}) {
        if (key.startsWith(QLatin1String(prefix)) && key.size() > int(qstrlen(prefix)))
            return numericOffset(zone.mid(qstrlen(prefix)));
    }
    return std::nullopt;
}

QDateTime assemble(int year, int month, int day, int hour, int minute, int second, int msec,
                   int offsetSeconds)
{
    if (second == 60)
        second = 59; // a leap second; the clock has no such second
    const QDate date(year, month, day);
    const QTime time(hour, minute, second, msec);
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time, Qt::OffsetFromUTC, offsetSeconds).toUTC();
}
} // namespace

QDateTime FeedDate::Parse(QStringView text)
{
    QDateTime parsed = ParseRfc822(text);
    if (!parsed.isValid())
        parsed = ParseIso8601(text);
    return parsed;
}

QDateTime FeedDate::ParseRfc822(QStringView text)
{
    QString normalized = text.toString();
    normalized.replace(QLatin1Char(','), QLatin1Char(' '));
    QStringList words = normalized.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    // A trailing comment such as "(UTC)" says nothing the zone does not.
    while (!words.isEmpty() && words.last().startsWith(QLatin1Char('(')))
        words.removeLast();

    qsizetype at = 0;
    if (at < words.size() && isDayName(words[at]) && !monthNumber(words[at]))
        ++at;
    if (words.size() - at < 4)
        return {};
    std::optional<int> day = number(words[at], 2);
    std::optional<int> month = monthNumber(words[at + 1]);
    if (!day || !month) {
        // "Dec 08 2026": month first.
        month = monthNumber(words[at]);
        day = number(words[at + 1], 2);
    }
    std::optional<int> year = number(words[at + 2], 4);
    if (!day || !month || !year || words[at + 2].size() == 3 || words[at + 2].size() == 1)
        return {};
    if (words[at + 2].size() == 2)
        *year += *year < 50 ? 2000 : 1900;

    const QStringList clock = words[at + 3].split(QLatin1Char(':'));
    if (clock.size() < 2 || clock.size() > 3)
        return {};
    const std::optional<int> hour = number(clock[0], 2);
    const std::optional<int> minute = number(clock[1], 2);
    std::optional<int> second = 0;
    if (clock.size() == 3)
        second = number(QStringView(clock[2]).left(clock[2].indexOf(QLatin1Char('.'))), 2);
    if (!hour || !minute || !second)
        return {};

    if (words.size() - at < 5)
        return {}; // no zone: the time could be anywhere's
    const QString& zone = words[at + 4];
    std::optional<int> offset = numericOffset(zone);
    if (!offset)
        offset = namedOffset(zone);
    if (!offset)
        return {};
    return assemble(*year, *month, *day, *hour, *minute, *second, 0, *offset);
}

QDateTime FeedDate::ParseIso8601(QStringView input)
{
    const QStringView text = input.trimmed();
    // YYYY-MM-DD
    if (text.size() < 10 || text[4] != QLatin1Char('-') || text[7] != QLatin1Char('-'))
        return {};
    const std::optional<int> year = number(text.left(4), 4);
    const std::optional<int> month = number(text.mid(5, 2), 2);
    const std::optional<int> day = number(text.mid(8, 2), 2);
    if (!year || !month || !day)
        return {};
    if (text.size() == 10)
        return assemble(*year, *month, *day, 0, 0, 0, 0, 0);
    const QChar separator = text[10];
    if (separator != QLatin1Char('T') && separator != QLatin1Char('t') &&
        separator != QLatin1Char(' '))
        return {};
    // hh:mm[:ss[.fraction]]
    QStringView rest = text.mid(11);
    if (rest.size() < 5 || rest[2] != QLatin1Char(':'))
        return {};
    const std::optional<int> hour = number(rest.left(2), 2);
    const std::optional<int> minute = number(rest.mid(3, 2), 2);
    if (!hour || !minute)
        return {};
    rest = rest.mid(5);
    int second = 0;
    int msec = 0;
    if (rest.startsWith(QLatin1Char(':'))) {
        const std::optional<int> seconds = number(rest.mid(1, 2), 2);
        if (!seconds || rest.size() < 3)
            return {};
        second = *seconds;
        rest = rest.mid(3);
        if (rest.startsWith(QLatin1Char('.')) || rest.startsWith(QLatin1Char(','))) {
            qsizetype digits = 1;
            while (digits < rest.size() && rest[digits].isDigit())
                ++digits;
            if (digits == 1)
                return {};
            const QString fraction =
                (rest.mid(1, digits - 1).toString() + QStringLiteral("000")).left(3);
            msec = fraction.toInt();
            rest = rest.mid(digits);
        }
    }
    rest = rest.trimmed();
    if (rest.isEmpty())
        return {}; // a time without a zone could be anywhere's
    std::optional<int> offset;
    if (rest.compare(QLatin1String("Z"), Qt::CaseInsensitive) == 0)
        offset = 0;
    else
        offset = numericOffset(rest);
    if (!offset)
        return {};
    return assemble(*year, *month, *day, *hour, *minute, second, msec, *offset);
}
