// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "UserDataFolder.h"

#include "platform/files/RegularFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString kFavorites = QStringLiteral("Favorites.xml");
const QString kHelp = QStringLiteral("readme.htm");
const QString kSkinDir = QStringLiteral("Skin");

constexpr QFile::Permissions kUserFile =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
} // namespace

QString UserDataFolder::DefaultPath()
{
    const QString chosen = qEnvironmentVariable(kOverrideVariable);
    if (!chosen.isEmpty())
        return QFileInfo(chosen).absoluteFilePath();
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral(KESTRIN_PACKAGE_NAME));
}

QString UserDataFolder::ShippedDataPath()
{
    return QDir::cleanPath(QDir(QCoreApplication::applicationDirPath())
                               .filePath(QStringLiteral(KESTRIN_DATA_FROM_BINDIR)));
}

UserDataFolder::UserDataFolder(QString path, QString shippedDataPath)
    : m_path(std::move(path)), m_shippedDataPath(std::move(shippedDataPath))
{}

bool UserDataFolder::Prepare()
{
    m_problems.clear();
    m_usable = false;
    if (!QDir().mkpath(m_path)) {
        Problem(QStringLiteral("The folder %1 cannot be created.").arg(m_path));
        return false;
    }
    // Another user's folder can be changed under us at any moment: nothing is written there.
    if (!IsOwnFolder(m_path, Links::Follow))
        return false;
    m_usable = true;
    PutTemplate(kFavorites);
    Refresh(kHelp);
    const QDir skins(QDir(m_shippedDataPath).filePath(kSkinDir));
    const QStringList skinFiles = skins.entryList(QDir::Files, QDir::Name);
    if (skinFiles.isEmpty())
        Problem(QStringLiteral("No skins were found in %1.").arg(skins.path()));
    const QString ownSkins = QDir(m_path).filePath(kSkinDir);
    if (!skinFiles.isEmpty()) {
        // Whatever stands at the name, made now or found, is looked at next.
        QDir().mkpath(ownSkins);
        if (IsOwnFolder(ownSkins, Links::Refuse)) {
            for (const QString& file : skinFiles)
                Refresh(kSkinDir + QLatin1Char('/') + file);
        }
    }
    return m_problems.isEmpty();
}

bool UserDataFolder::Enter()
{
    const bool prepared = Prepare();
    // Even half-prepared, the folder keeps whatever favorites the user already has; another
    // user's folder is not used at all, since its help page would run as a local page.
    if (m_usable && !QDir::setCurrent(m_path)) {
        Problem(QStringLiteral("The folder %1 cannot be opened.").arg(m_path));
        return false;
    }
    return prepared;
}

QString UserDataFolder::report() const
{
    return QStringLiteral("Your folder %1 could not be fully prepared:\n\n%2\n\n"
                          "Your favorites, the help page or the skins may be missing.")
        .arg(m_path, m_problems.join(QLatin1Char('\n')));
}

void UserDataFolder::PutTemplate(const QString& name)
{
    const QString target = QDir(m_path).filePath(name);
    // Whatever stands there, a dangling link included, is the user's favorites.
    if (QFileInfo(target).exists() || QFileInfo(target).isSymLink())
        return;
    const std::optional<QByteArray> bytes = ReadShipped(name);
    if (!bytes)
        return;
    // Written aside and renamed into place, which fails when the name exists: a second copy
    // starting at the same moment cannot replace favorites the first one has just stored.
    QTemporaryFile file(target + QStringLiteral(".XXXXXX"));
    if (!file.open() || file.write(*bytes) != bytes->size() || !file.flush() ||
        !file.setPermissions(kUserFile)) {
        Problem(QStringLiteral("%1 cannot be written: %2").arg(target, file.errorString()));
        return;
    }
    if (file.rename(target))
        file.setAutoRemove(false); // it would still remove the file under its new name
    else if (!QFileInfo::exists(target))
        Problem(QStringLiteral("%1 cannot be written: %2").arg(target, file.errorString()));
}

void UserDataFolder::Refresh(const QString& name)
{
    const QFileInfo shipped(QDir(m_shippedDataPath).filePath(name));
    const QString own = QDir(m_path).filePath(name);
    // Newer, not different: a skin the user adjusted stays until a newer one is installed.
    // Only a plain file of the user's counts as theirs; a link or anything else is replaced.
    struct stat status = {};
    if (::lstat(QFile::encodeName(own).constData(), &status) == 0 && S_ISREG(status.st_mode) &&
        status.st_uid == ::geteuid() && shipped.exists() &&
        QFileInfo(own).lastModified() >= shipped.lastModified())
        return;
    const std::optional<QByteArray> bytes = ReadShipped(name);
    if (!bytes)
        return;
    // The copy takes the shipped file's time, so the next start sees it up to date. It is
    // renamed over whatever has the name: a link is replaced, and its target never opened.
    const QString failure = RegularFile::Replace(own, *bytes, kUserFile, shipped.lastModified());
    if (!failure.isEmpty())
        Problem(QStringLiteral("%1 was left as it is: %2").arg(own, failure));
}

bool UserDataFolder::IsOwnFolder(const QString& path, Links links)
{
    struct stat status = {};
    const QByteArray name = QFile::encodeName(path);
    if ((links == Links::Follow ? ::stat(name.constData(), &status)
                                : ::lstat(name.constData(), &status)) != 0) {
        Problem(QStringLiteral("The folder %1 cannot be created.").arg(path));
        return false;
    }
    if (S_ISLNK(status.st_mode)) {
        Problem(
            QStringLiteral("%1 is a link; the files in it were not brought up to date.").arg(path));
        return false;
    }
    if (!S_ISDIR(status.st_mode) || status.st_uid != ::geteuid()) {
        Problem(QStringLiteral("%1 is not a folder of yours; it was left as it is.").arg(path));
        return false;
    }
    return true;
}

std::optional<QByteArray> UserDataFolder::ReadShipped(const QString& name)
{
    QFile file(QDir(m_shippedDataPath).filePath(name));
    if (!file.open(QIODevice::ReadOnly)) {
        Problem(QStringLiteral("%1 cannot be read: %2. Install the program again.")
                    .arg(file.fileName(), file.errorString()));
        return std::nullopt;
    }
    return file.readAll();
}

void UserDataFolder::Problem(const QString& text)
{
    m_problems.append(text);
}
