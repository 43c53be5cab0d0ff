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
    void Refresh(const QString& name);
    [[nodiscard]] std::optional<QByteArray> ReadShipped(const QString& name);
    void Problem(const QString& text);

    QString m_path;
    QString m_shippedDataPath;
    QStringList m_problems;
};
