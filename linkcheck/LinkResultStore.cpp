// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "LinkResultStore.h"

#include "LinkFinding.h"
#include "platform/files/RegularFile.h"
#include "platform/network/WebAddress.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <algorithm>

namespace {
constexpr int kFormat = 1;

constexpr QFile::Permissions kFileMode =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;

QString writeFile(const QString& path, const QByteArray& bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return QStringLiteral("The link check's findings could not be kept: the folder %1 "
                              "cannot be made.")
            .arg(QFileInfo(path).absolutePath());
    const QString failure = RegularFile::Replace(path, bytes, kFileMode);
    if (failure.isEmpty())
        return {};
    return QStringLiteral("The link check's findings could not be kept in %1: %2.")
        .arg(path, failure);
}
} // namespace

LinkResultStore::LinkResultStore(QString path, QObject* parent)
    : QObject(parent), m_path(std::move(path))
{
    m_writer.setMaxThreadCount(1);
}

LinkResultStore::~LinkResultStore()
{
    waitForSaved();
}

QString LinkResultStore::DefaultPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("linkcheck.json"));
}

bool LinkResultStore::load()
{
    m_results.clear();
    m_loadProblem.clear();
    const RegularFile::Contents contents = RegularFile::Read(m_path, kMaxFileBytes);
    if (!contents.ok()) {
        if (contents.status != RegularFile::Contents::Status::Missing)
            m_loadProblem = QStringLiteral("The link check's findings in %1 were not read: %2.")
                                .arg(m_path, contents.reason);
        return false;
    }
    Results results;
    if (!Parse(contents.bytes, results))
        return false;
    m_results = std::move(results);
    return true;
}

void LinkResultStore::save()
{
    // The hash is shared, not copied, until the next change on this thread.
    const Results snapshot = m_results;
    const QString path = m_path;
    // The store outlives its writes: its destructor waits for them.
    m_writer.start([this, snapshot, path] {
        const QString failure = writeFile(path, Serialize(snapshot));
        QMetaObject::invokeMethod(
            this, [this, failure] { emit saveFinished(failure); }, Qt::QueuedConnection);
    });
}

void LinkResultStore::waitForSaved()
{
    m_writer.waitForDone();
}

const LinkResult* LinkResultStore::find(const QString& url) const
{
    const auto it = m_results.constFind(url);
    return it == m_results.constEnd() ? nullptr : &*it;
}

void LinkResultStore::retainOnly(const QSet<QString>& urls)
{
    m_results.removeIf([&urls](const Results::iterator& it) { return !urls.contains(it.key()); });
}

QByteArray LinkResultStore::Serialize(const Results& results)
{
    QStringList urls = results.keys();
    std::sort(urls.begin(), urls.end());
    QJsonArray links;
    for (const QString& url : std::as_const(urls)) {
        const LinkResult& result = results[url];
        QJsonObject link{{QStringLiteral("url"), url},
                         {QStringLiteral("status"), LinkFinding::StatusName(result.status)},
                         {QStringLiteral("checked"), result.checked.toUTC().toString(Qt::ISODate)}};
        if (result.httpStatus > 0)
            link.insert(QStringLiteral("http"), result.httpStatus);
        if (!result.error.isEmpty())
            link.insert(QStringLiteral("error"), result.error);
        if (!result.newUrl.isEmpty())
            link.insert(QStringLiteral("movedTo"), result.newUrl);
        links.append(link);
    }
    const QJsonObject root{{QStringLiteral("format"), kFormat}, {QStringLiteral("links"), links}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool LinkResultStore::Parse(const QByteArray& bytes, Results& results)
{
    results.clear();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    const QJsonObject root = document.object();
    if (root.value(QStringLiteral("format")).toInt() != kFormat ||
        !root.value(QStringLiteral("links")).isArray())
        return false;
    for (const QJsonValue& value : root.value(QStringLiteral("links")).toArray()) {
        const QJsonObject link = value.toObject();
        const QString url = link.value(QStringLiteral("url")).toString();
        LinkResult result;
        result.checked =
            QDateTime::fromString(link.value(QStringLiteral("checked")).toString(), Qt::ISODate);
        // An entry that makes no sense is dropped; the rest of the file still counts.
        if (url.isEmpty() || !result.checked.isValid() ||
            !LinkFinding::StatusFromName(link.value(QStringLiteral("status")).toString(),
                                         result.status))
            continue;
        result.httpStatus = link.value(QStringLiteral("http")).toInt();
        result.error = link.value(QStringLiteral("error")).toString();
        result.newUrl = link.value(QStringLiteral("movedTo")).toString();
        // A move leads to a web page, or the favorite would be pointed at anything.
        if (result.status == LinkResult::Status::Moved && !WebAddress::IsWeb(QUrl(result.newUrl)))
            continue;
        results.insert(url, result);
    }
    return true;
}
