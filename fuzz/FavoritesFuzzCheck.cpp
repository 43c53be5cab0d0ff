// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FavoritesFuzzCheck.h"

#include "favorites/CXmlDocument.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {
// Files beside the input that a hostile one may try to pull into its records.
const QByteArray kSecretText = "KESTRIN-SECRET-TEXT";
const QByteArray kSecretDtd = "<!ENTITY leak \"KESTRIN-SECRET-DTD\">"
                              "<!ENTITY secret SYSTEM \"secret.txt\">";
const QString kTitle = QStringLiteral("Le Télégramme 新京报 <&> \"1\"");
const QString kUrl = QStringLiteral("http://fuzz.example/?a=1&b=+2");

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool Parses(const QString& path)
{
    CXmlDocument document;
    return !xml::Failed(document.CreateInstance()) && document.Load(path);
}

QString Leaked(const QList<FavoriteRecord>& records)
{
    for (const FavoriteRecord& record : records) {
        for (const QString& text : {record.title, record.url}) {
            if (text.contains(QLatin1String("KESTRIN-SECRET")) ||
                text.contains(QLatin1String("root:x:0:0")))
                return QStringLiteral("a record holds another file's content: ") + text.left(80);
        }
    }
    return {};
}
} // namespace

struct FavoritesFuzzCheck::Step
{
    // What a success must leave; when not exact, only one record may have gone.
    QList<FavoriteRecord> expected;
    bool exact = true;
    bool succeeded = false;
    FavoritesResult result;
};

FavoritesFuzzCheck::FavoritesFuzzCheck(const QString& folder)
    : m_strFolder(folder), m_strPath(QDir(folder).filePath(QStringLiteral("Favorites.xml"))),
      m_store(m_strPath)
{
    CXmlDocument::InitializeEngine();
}

FavoritesFuzzCheck::~FavoritesFuzzCheck() = default;

QList<FavoriteRecord> FavoritesFuzzCheck::ReadRecords(FavoritesResult* result) const
{
    QList<FavoriteRecord> records;
    const FavoritesResult read = m_store.ReadAll(records);
    if (result)
        *result = read;
    return records;
}

QString FavoritesFuzzCheck::LeftBehind() const
{
    const QStringList kept{QStringLiteral("Favorites.xml"), QStringLiteral("secret.dtd"),
                           QStringLiteral("secret.txt")};
    QStringList entries =
        QDir(m_strFolder)
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                       QDir::Name);
    // The backup a change makes first, and its note, are the store's own; nothing else may be
    // beside them.
    if (entries.removeOne(QStringLiteral("backups"))) {
        static const QRegularExpression backup(
            QStringLiteral("^Favorites-\\d{8}-\\d{6}(-\\d+)?\\.(xml|txt)$"));
        for (const QString& name : QDir(QDir(m_strFolder).filePath(QStringLiteral("backups")))
                                       .entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                                  QDir::NoDotAndDotDot)) {
            if (!backup.match(name).hasMatch())
                return QStringLiteral("left behind: backups/") + name;
        }
    }
    return entries == kept ? QString()
                           : QStringLiteral("left behind: ") + entries.join(QLatin1Char(' '));
}

// Runs one change; step.expected holds the records a success must leave.
QString FavoritesFuzzCheck::Change(int operation, const QString& what, Step& step)
{
    const QByteArray before = ReadFile(m_strPath);
    step.result = m_store.Update(operation, kTitle, kUrl);
    step.succeeded = step.result.succeeded();
    if (const QString left = LeftBehind(); !left.isEmpty())
        return what + QStringLiteral(": ") + left;
    if (!step.succeeded) {
        if (ReadFile(m_strPath) != before)
            return what + QStringLiteral(" was refused but changed the file");
        if (step.result.code == FavoritesResult::Code::Blank)
            return what + QStringLiteral(" was refused without a reason");
        return {};
    }
    if (step.result.code != FavoritesResult::Code::Done)
        return what + QStringLiteral(" succeeded without changing the file");
    if (!Parses(m_strPath))
        return what + QStringLiteral(" reported success but left a file that does not parse");
    const QList<FavoriteRecord> now = ReadRecords();
    if (!step.exact) {
        const qsizetype stored = step.expected.size();
        if (now.size() != stored && now.size() != stored - 1)
            return what + QStringLiteral(" left %1 of %2 records").arg(now.size()).arg(stored);
    } else if (now != step.expected) {
        return what + QStringLiteral(" reported success but the file holds %1 records, %2 "
                                     "expected")
                          .arg(now.size())
                          .arg(step.expected.size());
    }
    return Leaked(now);
}

QString FavoritesFuzzCheck::Run(const QByteArray& input)
{
    QDir folder(m_strFolder);
    for (const QString& name :
         folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        folder.remove(name);
    if (!WriteFile(m_strPath, input) ||
        !WriteFile(folder.filePath(QStringLiteral("secret.txt")), kSecretText) ||
        !WriteFile(folder.filePath(QStringLiteral("secret.dtd")), kSecretDtd))
        return QStringLiteral("cannot write the input files in ") + m_strFolder;

    FavoritesResult read;
    const QList<FavoriteRecord> original = ReadRecords(&read);
    if (const QString leak = Leaked(original); !leak.isEmpty())
        return leak;
    if (read.code != FavoritesResult::Code::Done)
        return QStringLiteral("reading failed: %1").arg(int(read.code));

    Step add;
    add.expected = original + QList<FavoriteRecord>{{kTitle, kUrl}};
    if (const QString fault = Change(CFavoritesStore::Add, QStringLiteral("add"), add);
        !fault.isEmpty())
        return fault;
    if (!Parses(m_strPath))
        return {};

    // After an add the only match is the new record; after a refused add (a duplicate was
    // stored) the first match goes, which may be any child of the root.
    Step remove;
    remove.exact = add.succeeded;
    remove.expected = add.succeeded ? original : ReadRecords();
    if (const QString fault = Change(CFavoritesStore::Delete, QStringLiteral("delete"), remove);
        !fault.isEmpty())
        return fault;
    if (add.succeeded && !remove.succeeded)
        return QStringLiteral("the delete of the record just added was refused: %1 %2")
            .arg(int(remove.result.code))
            .arg(remove.result.reason);
    return {};
}
