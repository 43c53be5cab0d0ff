// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The user's own folder that the program runs in. Favorites and their backups live there and
// survive a rebuild, reinstall or uninstall; the help page and the skins follow the copy
// installed with the program.
class UserDataFolder
{
public:
    // Names another folder to run in, for a developer's test data or a second set of favorites.
    static constexpr const char* kOverrideVariable = "KESTRIN_USER_DIR";

    // The override when set, else kestrin-news-reader under the XDG data home.
    [[nodiscard]] static QString DefaultPath();
    // The read-only data shipped with the program, found from where the program file lies,
    // so an installed program and one in the build tree both find theirs.
    [[nodiscard]] static QString ShippedDataPath();

    UserDataFolder(QString path, QString shippedDataPath);

    // Creates the folder when missing, puts the empty favorites file in only when there is
    // none, and brings help and skins up to date. False when any of it failed (see problems()).
    // Nothing is written through a link, nor into a folder of another user.
    bool Prepare();
    // Prepare(), then make the folder the working directory.
    bool Enter();

    [[nodiscard]] QString path() const { return m_path; }
    // What went wrong, one sentence each, for the user.
    [[nodiscard]] QStringList problems() const { return m_problems; }
    // The message shown at start-up when something went wrong.
    [[nodiscard]] QString report() const;

private:
    void PutTemplate(const QString& name);
    // Brings a file up to date, renaming a new one over whatever has its name.
    void Refresh(const QString& name);
    enum class Links
    {
        Follow, // the folder the user named may be a link to one of theirs
        Refuse  // a folder of the program's inside it may not
    };
    // A folder the user owns; otherwise says why it is left alone.
    bool IsOwnFolder(const QString& path, Links links);
    [[nodiscard]] std::optional<QByteArray> ReadShipped(const QString& name);
    void Problem(const QString& text);

    QString m_path;
    QString m_shippedDataPath;
    QStringList m_problems;
    // The folder exists and is the user's own.
    bool m_usable = false;
};
