#include "CFavoritesStore.h"

#include "CFavoritesBackups.h"
#include "CFavoritesChange.h"
#include "CFavoritesLock.h"
#include "CXmlAtomicFile.h"
#include "CXmlDocument.h"
#include "app/Globals.h"
#include "platform/MessageBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {
const QString kSourceName = QStringLiteral("Favorites.xml");
const QString kBackupName = QStringLiteral("Favorites.xml.bk");

QString CreateFailedMessage()
{
    return QStringLiteral("Unable to create DOMDocument object. Please check the installation of "
                          "the MS XML Parser!");
}

void ShowChangeFailure(const QString& path, const QString& reason)
{
    MessageBox::Show(
        QStringLiteral("Unable to change the favorites file %1.\n%2").arg(path, reason),
        MB_OK | MB_ICONWARNING);
}

// The files (by absolute path) this run has backed up before changing them.
QSet<QString>& BackedUpThisRun()
{
    static QSet<QString> paths;
    return paths;
}

// A backup before a change, or the reason why none could be made.
QString MakeBackup(CFavoritesBackups& backups)
{
    try {
        return backups.Make();
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

// The whole source, or a message about why it could not be read.
bool ReadSource(QByteArray& content)
{
    QFile source(kSourceName);
    if (!source.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        MessageBox::Show(QStringLiteral("读取配置文件 Favorites.xml 失败！"),
                         MB_OK | MB_ICONWARNING);
        return false;
    }
    char buffer[64 * 1024];
    for (;;) {
        const qint64 count = source.read(buffer, sizeof buffer);
        if (count == 0)
            return true;
        if (count < 0) {
            MessageBox::Show(QStringLiteral("读取配置文件 Favorites.xml 时出错：%1。备份未完成，"
                                            "原有的备份未改动！")
                                 .arg(source.errorString()),
                             MB_OK | MB_ICONWARNING);
            return false;
        }
        content.append(buffer, count);
    }
}
} // namespace

QString CFavoritesStore::GetFavoritesPath()
{
    return g_strAppDir + QStringLiteral("/Favorites.xml");
}

bool CFavoritesStore::ReadAll(QList<FavoriteRecord>& records)
{
    records.clear();
    CXmlDocument doc;
    if (xml::Failed(doc.CreateInstance())) {
        MessageBox::Show(CreateFailedMessage(), MB_OK | MB_ICONWARNING);
        return false;
    }
    try {
        // A file that cannot be read or parsed leaves an empty document: no records.
        doc.Load(GetFavoritesPath());
        const CXmlNodeList favorites =
            doc.SelectNodes(CXmlString(QStringLiteral("Favorites/Favorite")));
        for (long i = 0; i < favorites.GetLength(); ++i) {
            CXmlNode favorite;
            if (xml::Failed(favorites.GetItem(i, favorite))) {
                MessageBox::Show(QStringLiteral("Access node failure!"), MB_OK | MB_ICONWARNING);
                break;
            }
            records.append(CFavoritesChange::ReadRecord(favorite));
        }
    } catch (const xml::_com_error&) {
        // The records read before the failure are kept.
    }
    return true;
}

bool CFavoritesStore::Modify(const ChangeFunction& change, BackupFirst backup)
{
    const QString path = GetFavoritesPath();
    // The store never creates the file: without it there is nothing to lock or change.
    if (!QFileInfo::exists(path)) {
        ShowChangeFailure(path, QStringLiteral("No such file"));
        return false;
    }
    CFavoritesLock lock(path);
    if (!lock.Acquire()) {
        ShowChangeFailure(path, lock.FailureReason());
        return false;
    }
    CXmlAtomicFile::RemoveLeftovers(path);

    CXmlDocument doc;
    if (xml::Failed(doc.CreateInstance())) {
        MessageBox::Show(CreateFailedMessage(), MB_OK | MB_ICONWARNING);
        return false;
    }
    try {
        if (!doc.Load(path))
            throw xml::_com_error(xml::E_FAIL, doc.GetParseError());
        CXmlNode root = CFavoritesChange::FindRoot(doc);
        if (root.IsNull())
            throw xml::_com_error(xml::E_FAIL, QStringLiteral("It has no Favorites root element"));
        CFavoritesChange edit(doc, root);
        if (change(edit) == Decision::Discard)
            return false;
        const QList<CFavoritesChange::Child> intended = edit.Children();
        const QString key = QFileInfo(path).absoluteFilePath();
        const bool backUp = backup == BackupFirst::Always || !BackedUpThisRun().contains(key);
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
                        made = MakeBackup(backups);
                });
        } catch (const xml::_com_error&) {
            // The file is as it was, so a copy of it made for this change is not needed.
            backups.Withdraw(made);
            throw;
        }
        if (backUp) {
            BackedUpThisRun().insert(key);
            backups.Prune();
        }
    } catch (const xml::_com_error& error) {
        ShowChangeFailure(path, error.ErrorMessage());
        return false;
    }
    return true;
}

bool CFavoritesStore::Update(int nOperation, const QString& title, const QString& url)
{
    if (nOperation != Add && nOperation != Delete)
        return false;
    const QString strTitle = TrimBlanks(title);
    const QString strURL = TrimBlanks(url);
    if (strTitle.isEmpty() || strURL.isEmpty())
        return false;

    return Modify([&](CFavoritesChange& change) {
        const long match = change.Find(strTitle, strURL);
        if (nOperation == Add) {
            if (match >= 0) {
                MessageBox::Show(
                    QStringLiteral("The same content already exist, delete it then add new!"),
                    MB_OK | MB_ICONWARNING);
                return Decision::Discard;
            }
            change.Append(strTitle, strURL);
        } else if (match >= 0) {
            change.Remove(match);
        }
        // A delete that found nothing still rewrites the same records.
        return Decision::Save;
    });
}

void CFavoritesStore::Backup()
{
    // Under the same lock as every change, so the copy is of one whole version.
    CFavoritesLock lock(kSourceName);
    if (!lock.Acquire()) {
        MessageBox::Show(
            QStringLiteral("创建配置文件 Favorites.xml.bk 失败！\n%1").arg(lock.FailureReason()),
            MB_OK | MB_ICONWARNING);
        return;
    }
    CXmlAtomicFile::RemoveLeftovers(kBackupName, CXmlAtomicFile::Links::Replace);

    QByteArray content;
    if (!ReadSource(content))
        return;
    try {
        CXmlAtomicFile::Write(kBackupName, content.constData(), content.size(),
                              CXmlAtomicFile::Links::Replace);
    } catch (const xml::_com_error& error) {
        MessageBox::Show(
            QStringLiteral("创建配置文件 Favorites.xml.bk 失败！\n%1\n原有的备份未改动。")
                .arg(error.ErrorMessage()),
            MB_OK | MB_ICONWARNING);
        return;
    }
    MessageBox::Show(QStringLiteral("备份成功！"), MB_OK);
}

QString CFavoritesStore::AutomaticBackupFolder()
{
    return CFavoritesBackups(GetFavoritesPath()).Directory();
}

QString CFavoritesStore::ManualBackupPath()
{
    return QFileInfo(kBackupName).absoluteFilePath();
}

void CFavoritesStore::RemoveLeftovers()
{
    // Only while no other copy is saving: its temporary file is no leftover.
    const QString path = GetFavoritesPath();
    CFavoritesLock lock(path);
    if (!lock.Acquire(0))
        return;
    lock.RemoveWaitMark();
    CXmlAtomicFile::RemoveLeftovers(path);
    CFavoritesBackups(path).RemoveLeftovers();
    const bool backupBeside =
        QFileInfo(kSourceName).absoluteFilePath() == QFileInfo(path).absoluteFilePath();
    CFavoritesLock backupLock(kSourceName);
    if (backupBeside || backupLock.Acquire(0))
        CXmlAtomicFile::RemoveLeftovers(kBackupName, CXmlAtomicFile::Links::Replace);
}

bool CFavoritesStore::ReadChecked(QList<FavoriteRecord>& records, QString& error)
{
    records.clear();
    CXmlDocument doc;
    if (xml::Failed(doc.CreateInstance())) {
        error = CreateFailedMessage();
        return false;
    }
    try {
        if (!doc.Load(GetFavoritesPath())) {
            error = doc.GetParseError();
            return false;
        }
        if (CFavoritesChange::FindRoot(doc).IsNull()) {
            error = QStringLiteral("It has no Favorites root element");
            return false;
        }
        for (const CFavoritesChange::Child& child : CFavoritesChange::ChildrenOf(doc)) {
            if (child.name == QLatin1String("Favorite"))
                records.append(child.record);
        }
    } catch (const xml::_com_error& failure) {
        records.clear();
        error = failure.ErrorMessage();
        return false;
    }
    return true;
}

bool CFavoritesStore::Restore(const QString& backupPath)
{
    const QString path = GetFavoritesPath();
    CFavoritesLock lock(path);
    if (!lock.Acquire()) {
        ShowChangeFailure(path, lock.FailureReason());
        return false;
    }
    CXmlAtomicFile::RemoveLeftovers(path);

    CFavoritesBackups backups(path);
    QString made;
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
        if (QFileInfo::exists(path))
            made = MakeBackup(backups);
        CXmlAtomicFile::Write(path, bytes.constData(), bytes.size());
    } catch (const xml::_com_error& error) {
        backups.Withdraw(made);
        ShowChangeFailure(path, error.ErrorMessage());
        return false;
    }
    // What the file held before is in the backups now.
    BackedUpThisRun().insert(QFileInfo(path).absoluteFilePath());
    backups.Prune();
    return true;
}
