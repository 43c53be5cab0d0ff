// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CFavoritesBackups.h"

#include "CFavoritesChange.h"
#include "CXmlAtomicFile.h"
#include "CXmlDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>

namespace {
const QString kTimeFormat = QStringLiteral("yyyyMMdd-HHmmss");

const QRegularExpression& BackupName()
{
    static const QRegularExpression pattern(
        QStringLiteral("^Favorites-(\\d{8}-\\d{6})(?:-(\\d+))?\\.xml$"));
    return pattern;
}

const QRegularExpression& LeftoverName()
{
    static const QRegularExpression pattern(
        QStringLiteral("^(Favorites-\\d{8}-\\d{6}(?:-\\d+)?\\.(?:xml|txt))\\.tmp[A-Za-z0-9]{6}$"));
    return pattern;
}

constexpr qint64 kMaxNoteSize = 4096;

const char* const kKindWords[] = {"", "first-change", "import", "restore"};

// Fills in whether the file holds a favorites list and how many favorites it has.
void Examine(CFavoritesBackups::Entry& entry)
{
    const QFileInfo info(entry.path);
    if (info.isSymLink() || !info.isFile()) {
        entry.problem = QStringLiteral("It is not a plain file");
        return;
    }
    QByteArray bytes;
    if (!CXmlAtomicFile::ReadWhole(entry.path, CXmlDocument::kMaxFileSize, bytes, entry.problem))
        return;
    try {
        CXmlDocument doc;
        if (xml::Failed(doc.CreateInstance()))
            throw xml::_com_error(xml::E_OUTOFMEMORY);
        if (!doc.LoadXml(bytes, entry.path)) {
            entry.problem = doc.GetParseError();
            return;
        }
        if (CFavoritesChange::FindRoot(doc).IsNull()) {
            entry.problem = QStringLiteral("It holds no Favorites list");
            return;
        }
        entry.count = doc.SelectNodes(CXmlString(QStringLiteral("Favorites/Favorite"))).GetLength();
        entry.readable = true;
    } catch (const xml::_com_error& error) {
        entry.problem = error.ErrorMessage();
    }
}
} // namespace

CFavoritesBackups::CFavoritesBackups(const QString& favoritesPath)
    : m_strFavoritesPath(favoritesPath),
      m_strDirectory(QFileInfo(favoritesPath).absoluteDir().filePath(QStringLiteral("backups")))
{}

QString CFavoritesBackups::NameFor(const QDateTime& time, int sequence)
{
    QString name = QStringLiteral("Favorites-") + time.toString(kTimeFormat);
    if (sequence > 1)
        name += QLatin1Char('-') + QString::number(sequence);
    return name + QStringLiteral(".xml");
}

QDateTime CFavoritesBackups::TimeOf(const QString& path)
{
    const QFileInfo info(path);
    const QRegularExpressionMatch match = BackupName().match(info.fileName());
    if (match.hasMatch()) {
        if (const QDateTime time = QDateTime::fromString(match.captured(1), kTimeFormat);
            time.isValid())
            return time;
    }
    return info.lastModified();
}

QString CFavoritesBackups::NotePath(const QString& path)
{
    return path.chopped(QStringLiteral(".xml").size()) + QStringLiteral(".txt");
}

void CFavoritesBackups::WriteNote(const QString& path, const BackupReason& reason)
{
    const QByteArray note = QByteArray(kKindWords[int(reason.kind)]) + '\n' +
                            reason.detail.simplified().toUtf8() + '\n' +
                            reason.time.toString(Qt::ISODate).toUtf8() + '\n';
    try {
        CXmlAtomicFile::Write(NotePath(path), note.constData(), note.size(),
                              CXmlAtomicFile::Links::Replace);
    } catch (const xml::_com_error&) {
        // The backup counts, not its note: Restore then lists it without a reason.
    }
}

BackupReason CFavoritesBackups::ReasonOf(const QString& path)
{
    const QString notePath = NotePath(path);
    const QFileInfo info(notePath);
    QByteArray bytes;
    QString error;
    if (info.isSymLink() || !info.isFile() ||
        !CXmlAtomicFile::ReadWhole(notePath, kMaxNoteSize, bytes, error))
        return {};
    const QList<QByteArray> lines = bytes.split('\n');
    BackupReason reason;
    for (int kind = 1; kind < int(std::size(kKindWords)); ++kind) {
        if (lines.first() == kKindWords[kind])
            reason.kind = BackupReason::Kind(kind);
    }
    if (reason.kind == BackupReason::Kind::Unknown)
        return {};
    if (lines.size() > 1)
        reason.detail = QString::fromUtf8(lines.at(1));
    if (lines.size() > 2)
        reason.time = QDateTime::fromString(QString::fromUtf8(lines.at(2)), Qt::ISODate);
    return reason;
}

QList<CFavoritesBackups::Named> CFavoritesBackups::Automatic() const
{
    QList<Named> result;
    const QDir directory(m_strDirectory);
    for (const QString& name : directory.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QRegularExpressionMatch match = BackupName().match(name);
        if (!match.hasMatch())
            continue;
        const QDateTime time = QDateTime::fromString(match.captured(1), kTimeFormat);
        if (!time.isValid())
            continue;
        const int sequence = match.captured(2).isEmpty() ? 1 : match.captured(2).toInt();
        result.append({directory.filePath(name), time, sequence});
    }
    std::sort(result.begin(), result.end(), [](const Named& a, const Named& b) {
        return a.time != b.time ? a.time > b.time : a.sequence > b.sequence;
    });
    return result;
}

void CFavoritesBackups::PrepareDirectory()
{
    const QByteArray native = QFile::encodeName(m_strDirectory);
    struct stat status = {};
    if (::lstat(native.constData(), &status) == 0) {
        // A link could send the copies anywhere; only a real folder is written to.
        if (!S_ISDIR(status.st_mode))
            throw xml::_com_error(xml::E_INVALIDARG,
                                  QStringLiteral("%1 is not a folder").arg(m_strDirectory));
        return;
    }
    if (errno != ENOENT || ::mkdir(native.constData(), 0700) != 0) {
        throw xml::_com_error::FromErrno(
            errno, QStringLiteral("Cannot create the backup folder %1").arg(m_strDirectory));
    }
    m_bCreatedDirectory = true;
}

QString CFavoritesBackups::Make(const BackupReason& reason)
{
    QByteArray bytes;
    QString error;
    if (!CXmlAtomicFile::ReadWhole(m_strFavoritesPath, CXmlDocument::kMaxFileSize, bytes, error))
        throw xml::_com_error(xml::E_FAIL,
                              QStringLiteral("It cannot be read for a backup: %1").arg(error));
    PrepareDirectory();
    try {
        const QList<Named> existing = Automatic();
        if (!existing.isEmpty()) {
            QByteArray newest;
            if (QFileInfo(existing.first().path).size() == bytes.size() &&
                CXmlAtomicFile::ReadWhole(existing.first().path, CXmlDocument::kMaxFileSize, newest,
                                          error) &&
                newest == bytes)
                return {};
        }
        const QDateTime now = QDateTime::currentDateTime();
        QString path;
        for (int sequence = 1;
             path.isEmpty() || QFileInfo(path).exists() || QFileInfo(path).isSymLink(); ++sequence)
            path = QDir(m_strDirectory).filePath(NameFor(now, sequence));
        CXmlAtomicFile::Write(path, bytes.constData(), bytes.size(),
                              CXmlAtomicFile::Links::Replace);
        WriteNote(path, reason);
        return path;
    } catch (const xml::_com_error&) {
        Withdraw({});
        throw;
    }
}

void CFavoritesBackups::Withdraw(const QString& backupPath)
{
    if (!backupPath.isEmpty()) {
        QFile::remove(backupPath);
        QFile::remove(NotePath(backupPath));
    }
    // Only a folder this run made, and only while it is empty.
    if (m_bCreatedDirectory && QDir().rmdir(m_strDirectory))
        m_bCreatedDirectory = false;
}

void CFavoritesBackups::Prune() const
{
    const QList<Named> existing = Automatic();
    for (qsizetype i = kKept; i < existing.size(); ++i) {
        QFile::remove(existing.at(i).path);
        QFile::remove(NotePath(existing.at(i).path));
    }
}

void CFavoritesBackups::RemoveLeftovers() const
{
    const QDir directory(m_strDirectory);
    QSet<QString> targets;
    for (const QString& name : directory.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QRegularExpressionMatch match = LeftoverName().match(name);
        if (match.hasMatch())
            targets.insert(match.captured(1));
    }
    // The atomic writer knows its own temporary files: regular files of this user only.
    for (const QString& target : std::as_const(targets))
        CXmlAtomicFile::RemoveLeftovers(directory.filePath(target), CXmlAtomicFile::Links::Replace);
}

QList<CFavoritesBackups::Entry> CFavoritesBackups::List(const QString& manualBackupPath) const
{
    QList<Entry> entries;
    const QFileInfo manual(manualBackupPath);
    if (manual.exists() || manual.isSymLink()) {
        Entry entry;
        entry.path = manual.absoluteFilePath();
        entry.time = manual.lastModified();
        Examine(entry);
        entries.append(entry);
    }
    for (const Named& named : Automatic()) {
        Entry entry;
        entry.path = named.path;
        entry.time = named.time;
        entry.automatic = true;
        entry.reason = ReasonOf(named.path);
        Examine(entry);
        entries.append(entry);
    }
    // Automatic backups come newest first already; the manual one takes its place by time.
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.time > b.time; });
    return entries;
}
