// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CFavoritesStore.h"

#include "CFavoritesBackups.h"
#include "CFavoritesChange.h"
#include "CFavoritesLock.h"
#include "CXmlAtomicFile.h"
#include "CXmlDocument.h"
#include "CXmlTestSeam.h"
#include "platform/files/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {
using Code = FavoritesResult::Code;

// The favorites and folders at the top of My Favorites, in file order: the list a test may
// make fail part-way.
const QString kTopLevel = QStringLiteral("Favorites/Favorite|Favorites/Folder");

// A backup before a change, or the reason why none could be made.
QString MakeBackup(CFavoritesBackups& backups, const BackupReason& reason)
{
    try {
        return backups.Make(reason);
    } catch (const xml::_com_error& error) {
        throw xml::_com_error(
            error.Error(),
            QStringLiteral("No backup of it could be made first: %1").arg(error.ErrorMessage()));
    }
}

// Exactly the six blanks of the C locale: other Unicode spaces are part of the value.
bool IsBlank(QChar c)
{
    switch (c.unicode()) {
    case u' ':
    case u'\t':
    case u'\r':
    case u'\n':
    case u'\v':
    case u'\f':
        return true;
    default:
        return false;
    }
}

} // namespace

QString CFavoritesStore::TrimBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && IsBlank(text.at(first)))
        ++first;
    while (last > first && IsBlank(text.at(last - 1)))
        --last;
    return text.mid(first, last - first);
}

namespace {

// The whole source, or why it could not be read: a pipe or a device is refused, not read.
FavoritesResult ReadSource(const QString& path, QByteArray& content)
{
    using Status = RegularFile::Contents::Status;
    RegularFile::Contents source = RegularFile::Read(path, CXmlDocument::kMaxFileSize);
    if (source.status == Status::Missing || source.status == Status::Unopenable)
        return FavoritesResult::Of(Code::SourceUnreadable, path, source.reason);
    if (!source.ok())
        return FavoritesResult::Of(Code::SourceReadError, path, source.reason);
    content = std::move(source.bytes);
    return {};
}
} // namespace

CFavoritesStore::CFavoritesStore(QString path, QObject* parent)
    : QObject(parent), m_strPath(std::move(path)), m_watch(m_strPath)
{
    connect(&m_watch, &FavoritesWatch::settled, this, [this] { OnFileSettled(); });
}

CFavoritesStore::~CFavoritesStore() = default;

FavoritesResult CFavoritesStore::ReadAll(QList<FavoriteRecord>& records) const
{
    QList<QStringList> folders;
    return ReadAll(records, folders);
}

FavoritesResult CFavoritesStore::ReadAll(QList<FavoriteRecord>& records,
                                         QList<QStringList>& folders,
                                         QList<qsizetype>* folderPlaces) const
{
    records.clear();
    folders.clear();
    QList<qsizetype> places;
    CXmlDocument doc;
    if (xml::Failed(doc.CreateInstance()))
        return FavoritesResult::Of(Code::NoParser, m_strPath);
    // Looked at before the read: a file replaced meanwhile is then read again later.
    const FavoritesWatch::Identity identity = FavoritesWatch::IdentityOf(m_strPath);
    FavoritesResult result;
    try {
        // A file that cannot be read or parsed leaves an empty document: no records. One
        // that is no file at all, or far larger than any list of favorites, is said to be so.
        using Status = RegularFile::Contents::Status;
        const RegularFile::Contents contents =
            RegularFile::Read(m_strPath, CXmlDocument::kMaxFileSize);
        if (contents.status == Status::NotAFile || contents.status == Status::TooLarge)
            result = FavoritesResult::Of(Code::Refused, m_strPath, contents.reason);
        const CXmlTestSeam::Failures& failures = CXmlTestSeam::GetFailures();
        const long failAt = failures.itemExpression == kTopLevel ? failures.itemIndex : -1;
        if (CFavoritesChange::LoadTopLevel(doc, contents.bytes, m_strPath, failAt, records, folders,
                                           places) == Code::NodeFailure)
            result = FavoritesResult::Of(Code::NodeFailure, m_strPath);
    } catch (const xml::_com_error&) {
        // The records read before the failure are kept.
    }
    // The first read is what the listeners start from.
    if (!m_known) {
        m_known = FavoritesUpdate{FavoritesUpdate::Origin::ThisCopy, records, folders, places};
        m_knownIdentity = identity;
    }
    if (folderPlaces)
        *folderPlaces = std::move(places);
    return result;
}

FavoritesUpdate CFavoritesStore::Known() const
{
    if (!m_known) {
        QList<FavoriteRecord> records;
        QList<QStringList> folders;
        (void)ReadAll(records, folders);
    }
    return *m_known;
}

FavoritesResult CFavoritesStore::Modify(const ChangeFunction& change, BackupFirst backup,
                                        const BackupReason& reason)
{
    const QString path = m_strPath;
    // The store never creates the file: without it there is nothing to lock or change.
    if (!QFileInfo::exists(path))
        return FavoritesResult::Of(Code::Failed, path, QStringLiteral("No such file"));
    CFavoritesLock lock(path);
    if (!lock.Acquire())
        return FavoritesResult::Of(Code::Failed, path, lock.FailureReason());
    CXmlAtomicFile::RemoveLeftovers(path);

    CXmlDocument doc;
    if (xml::Failed(doc.CreateInstance()))
        return FavoritesResult::Of(Code::NoParser, path);
    std::optional<QList<CFavoritesChange::Child>> found;
    FavoritesResult result;
    try {
        if (!doc.Load(path))
            throw xml::_com_error(xml::E_FAIL, doc.GetParseError());
        CXmlNode root = CFavoritesChange::FindRoot(doc);
        if (root.IsNull())
            throw xml::_com_error(xml::E_FAIL, QStringLiteral("It has no Favorites root element"));
        CFavoritesChange edit(doc, root);
        found = edit.Children();
        // Written only with a change the user asked for, so a file is never rewritten just
        // to tidy it.
        const QList<QStringList> joined = edit.JoinTwinFolders();
        result.code = change(edit);
        result.path = path;
        if (result.code != Code::Done) {
            lock.Release();
            // The file may have changed since the listeners were told: they learn it now.
            Announce(FavoritesUpdate::Origin::Elsewhere, *found);
            return result;
        }
        result.joinedFolders = joined;
        const QList<CFavoritesChange::Child> intended = edit.Children();
        const bool backUp = backup == BackupFirst::Always || !m_bBackedUpThisRun;
        CFavoritesBackups backups(path);
        QString made;
        try {
            doc.Save(
                path,
                [&](const CXmlDocument& written) {
                    return CFavoritesChange::ChildrenOf(written) == intended;
                },
                [&] {
                    if (backUp)
                        made = MakeBackup(backups,
                                          reason.kind == BackupReason::Kind::Unknown
                                              ? BackupReason::Of(BackupReason::Kind::FirstChange)
                                              : reason);
                });
        } catch (const xml::_com_error&) {
            // The file is as it was, so a copy of it made for this change is not needed.
            backups.Withdraw(made);
            throw;
        }
        if (backUp) {
            m_bBackedUpThisRun = true;
            backups.Prune();
        }
        m_knownIdentity = FavoritesWatch::IdentityOf(path);
        lock.Release();
        ChangedHere(intended);
    } catch (const xml::_com_error& error) {
        lock.Release();
        if (found)
            Announce(FavoritesUpdate::Origin::Elsewhere, *found);
        return FavoritesResult::Of(Code::Failed, path, error.ErrorMessage());
    }
    return result;
}

FavoritesResult CFavoritesStore::Update(int nOperation, const QString& title, const QString& url)
{
    if (nOperation != Add && nOperation != Delete)
        return FavoritesResult::Of(Code::Blank);
    const QString strTitle = TrimBlanks(title);
    const QString strURL = TrimBlanks(url);
    if (strTitle.isEmpty() || strURL.isEmpty())
        return FavoritesResult::Of(Code::Blank);

    return Modify([&](CFavoritesChange& change) {
        const long match = change.Find(strTitle, strURL);
        if (nOperation == Add) {
            if (match >= 0)
                return Code::Duplicate;
            change.Append(strTitle, strURL);
            return Code::Done;
        }
        // A favorite deleted meanwhile is not deleted again as if it were still there.
        if (match < 0)
            return Code::Gone;
        change.Remove(match);
        return Code::Done;
    });
}

QString CFavoritesStore::BackupPath() const
{
    return m_strPath + QStringLiteral(".bk");
}

FavoritesResult CFavoritesStore::Backup()
{
    const QString backupPath = BackupPath();
    // Under the same lock as every change, so the copy is of one whole version.
    CFavoritesLock lock(m_strPath);
    if (!lock.Acquire())
        return FavoritesResult::Of(Code::BackupLocked, backupPath, lock.FailureReason());
    CXmlAtomicFile::RemoveLeftovers(backupPath, CXmlAtomicFile::Links::Replace);

    QByteArray content;
    if (const FavoritesResult read = ReadSource(m_strPath, content); !read.succeeded())
        return read;
    try {
        CXmlAtomicFile::Write(backupPath, content.constData(), content.size(),
                              CXmlAtomicFile::Links::Replace);
    } catch (const xml::_com_error& error) {
        return FavoritesResult::Of(Code::BackupUnwritable, backupPath, error.ErrorMessage());
    }
    return FavoritesResult::Of(Code::Done, backupPath);
}

QString CFavoritesStore::AutomaticBackupFolder() const
{
    return CFavoritesBackups(m_strPath).Directory();
}

QString CFavoritesStore::ManualBackupPath() const
{
    return QFileInfo(BackupPath()).absoluteFilePath();
}

void CFavoritesStore::RemoveLeftovers()
{
    // Only while no other copy is saving: its temporary file is no leftover.
    CFavoritesLock lock(m_strPath);
    if (!lock.Acquire(0))
        return;
    lock.RemoveWaitMark();
    CXmlAtomicFile::RemoveLeftovers(m_strPath);
    CFavoritesBackups(m_strPath).RemoveLeftovers();
    CXmlAtomicFile::RemoveLeftovers(BackupPath(), CXmlAtomicFile::Links::Replace);
}

FavoritesResult CFavoritesStore::ReadChecked(QList<FavoriteRecord>& records,
                                             QList<CFavoritesChange::Child>* children) const
{
    records.clear();
    if (children)
        children->clear();
    CXmlDocument doc;
    if (xml::Failed(doc.CreateInstance()))
        return FavoritesResult::Of(Code::NoParser, m_strPath);
    try {
        if (!doc.Load(m_strPath))
            return FavoritesResult::Of(Code::Failed, m_strPath, doc.GetParseError());
        if (CFavoritesChange::FindRoot(doc).IsNull())
            return FavoritesResult::Of(Code::Failed, m_strPath,
                                       QStringLiteral("It has no Favorites root element"));
        const QList<CFavoritesChange::Child> all = CFavoritesChange::ChildrenOf(doc);
        records = CFavoritesChange::RecordsOf(all);
        if (children)
            *children = all;
    } catch (const xml::_com_error& failure) {
        records.clear();
        return FavoritesResult::Of(Code::Failed, m_strPath, failure.ErrorMessage());
    }
    return FavoritesResult::Of(Code::Done, m_strPath);
}

FavoritesResult CFavoritesStore::Restore(const QString& backupPath)
{
    const QString path = m_strPath;
    CFavoritesLock lock(path);
    if (!lock.Acquire())
        return FavoritesResult::Of(Code::Failed, path, lock.FailureReason());
    CXmlAtomicFile::RemoveLeftovers(path);

    CFavoritesBackups backups(path);
    QString made;
    QList<CFavoritesChange::Child> restored;
    try {
        // Read once: what was checked is exactly what is written.
        QByteArray bytes;
        QString error;
        if (!CXmlAtomicFile::ReadWhole(backupPath, CXmlDocument::kMaxFileSize, bytes, error))
            throw xml::_com_error(
                xml::E_FAIL,
                QStringLiteral("The backup %1 cannot be read: %2").arg(backupPath, error));
        CXmlDocument doc;
        if (xml::Failed(doc.CreateInstance()))
            throw xml::_com_error(xml::E_OUTOFMEMORY);
        if (!doc.LoadXml(bytes, backupPath))
            throw xml::_com_error(xml::E_FAIL, QStringLiteral("The backup %1 cannot be read: %2")
                                                   .arg(backupPath, doc.GetParseError()));
        if (CFavoritesChange::FindRoot(doc).IsNull())
            throw xml::_com_error(
                xml::E_FAIL,
                QStringLiteral("The backup %1 holds no Favorites list").arg(backupPath));
        restored = CFavoritesChange::ChildrenOf(doc);
        if (QFileInfo::exists(path))
            made = MakeBackup(backups, BackupReason::Of(BackupReason::Kind::Restore,
                                                        QFileInfo(backupPath).fileName(),
                                                        CFavoritesBackups::TimeOf(backupPath)));
        CXmlAtomicFile::Write(path, bytes.constData(), bytes.size());
    } catch (const xml::_com_error& error) {
        backups.Withdraw(made);
        return FavoritesResult::Of(Code::Failed, path, error.ErrorMessage());
    }
    // What the file held before is in the backups now.
    m_bBackedUpThisRun = true;
    backups.Prune();
    m_knownIdentity = FavoritesWatch::IdentityOf(path);
    lock.Release();
    ChangedHere(restored);
    return FavoritesResult::Of(Code::Done, path);
}

void CFavoritesStore::Watch()
{
    m_watch.start();
}

void CFavoritesStore::Announce(FavoritesUpdate::Origin origin,
                               const QList<CFavoritesChange::Child>& children)
{
    FavoritesUpdate update{origin, CFavoritesChange::RecordsOf(children),
                           CFavoritesChange::FoldersOf(children),
                           CFavoritesChange::FolderPlacesOf(children)};
    if (m_known && m_known->records == update.records && m_known->folders == update.folders &&
        m_known->folderPlaces == update.folderPlaces)
        return;
    m_known = update;
    emit favoritesChanged(update);
}

void CFavoritesStore::ChangedHere(const QList<CFavoritesChange::Child>& children)
{
    // Told even when the list looks the same (a delete of one of two twins): it changed.
    m_known = FavoritesUpdate{
        FavoritesUpdate::Origin::ThisCopy, CFavoritesChange::RecordsOf(children),
        CFavoritesChange::FoldersOf(children), CFavoritesChange::FolderPlacesOf(children)};
    emit favoritesChanged(*m_known);
}

void CFavoritesStore::OnFileSettled()
{
    const FavoritesWatch::Identity before = FavoritesWatch::IdentityOf(m_strPath);
    if (m_knownIdentity && before == *m_knownIdentity)
        return;
    QList<CFavoritesChange::Child> children;
    {
        // Read whole, between two changes of another copy; never waited for here.
        CFavoritesLock lock(m_strPath);
        if (!lock.Acquire(0) && lock.IsHeldElsewhere()) {
            m_watch.retrySoon();
            return;
        }
        m_knownIdentity = FavoritesWatch::IdentityOf(m_strPath);
        QList<CFavoritesChange::Child> read;
        CXmlDocument doc;
        if (!xml::Failed(doc.CreateInstance())) {
            try {
                // A file that is gone or cannot be parsed holds no favorites, as ReadAll says.
                if (doc.Load(m_strPath))
                    read = CFavoritesChange::ChildrenOf(doc);
            } catch (const xml::_com_error&) {
                read.clear();
            }
        }
        children = std::move(read);
    }
    Announce(FavoritesUpdate::Origin::Elsewhere, children);
}
