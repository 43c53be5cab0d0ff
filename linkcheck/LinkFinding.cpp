// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "LinkFinding.h"

#include <QHash>
#include <QLocale>

namespace {
struct StatusWords
{
    LinkResult::Status status;
    const char* name;
    const char* title;
};

constexpr StatusWords kWords[] = {
    {LinkResult::Status::Alive, "alive", "Alive"},
    {LinkResult::Status::Moved, "moved", "Moved"},
    {LinkResult::Status::Dead, "dead", "Dead"},
    {LinkResult::Status::Unsure, "unsure", "Unsure"},
};

const StatusWords& wordsFor(LinkResult::Status status)
{
    for (const StatusWords& words : kWords) {
        if (words.status == status)
            return words;
    }
    return kWords[3];
}

QString httpReason(int status)
{
    switch (status) {
    case 401:
        return QStringLiteral("login required (401)");
    case 403:
        return QStringLiteral("access refused (403)");
    case 404:
        return QStringLiteral("page not found (404)");
    case 410:
        return QStringLiteral("page gone (410)");
    case 429:
        return QStringLiteral("too many requests (429)");
    default:
        break;
    }
    if (status >= 500)
        return QStringLiteral("server error (%1)").arg(status);
    return QStringLiteral("HTTP status %1").arg(status);
}
} // namespace

QString LinkFinding::StatusName(LinkResult::Status status)
{
    return QString::fromLatin1(wordsFor(status).name);
}

bool LinkFinding::StatusFromName(const QString& name, LinkResult::Status& status)
{
    for (const StatusWords& words : kWords) {
        if (name == QLatin1String(words.name)) {
            status = words.status;
            return true;
        }
    }
    return false;
}

QString LinkFinding::StatusTitle(LinkResult::Status status)
{
    return QString::fromLatin1(wordsFor(status).title);
}

QString LinkFinding::Details(const LinkResult& result)
{
    if (result.status == LinkResult::Status::Moved)
        return QStringLiteral("moved to %1").arg(result.newUrl);
    QString text;
    if (result.httpStatus > 0)
        text = httpReason(result.httpStatus);
    if (!result.error.isEmpty())
        text = text.isEmpty() ? result.error : text + QStringLiteral(", ") + result.error;
    if (text.isEmpty() && result.status == LinkResult::Status::Alive)
        text = QStringLiteral("reachable");
    return text;
}

QString LinkFinding::ToolTip(const LinkResult& result)
{
    const QString date = Date(result.checked);
    switch (result.status) {
    case LinkResult::Status::Alive:
        return QStringLiteral("Reachable on %1").arg(date);
    case LinkResult::Status::Moved:
        return QStringLiteral("Moved to %1 (found on %2)").arg(result.newUrl, date);
    case LinkResult::Status::Dead:
        return QStringLiteral("Not reachable on %1: %2").arg(date, Details(result));
    case LinkResult::Status::Unsure:
        break;
    }
    return QStringLiteral("Could not be checked on %1: %2").arg(date, Details(result));
}

QString LinkFinding::Date(const QDateTime& checked)
{
    // A full check dates thousands of results within a few minutes: each minute is turned
    // into local time and words once (both are slow enough to show on a tree of 2,700).
    thread_local QHash<QPair<qint64, QString>, QString> formatted;
    const QLocale locale;
    const QPair<qint64, QString> key(checked.toMSecsSinceEpoch() / 60000, locale.name());
    auto it = formatted.constFind(key);
    if (it == formatted.constEnd()) {
        it = formatted.insert(
            key, locale.toString(checked.toLocalTime().date(), QStringLiteral("d MMM yyyy")));
    }
    return *it;
}
