// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FavoritesMessages.h"

#include "favorites/CFavoritesChange.h"
#include "platform/MessageBox.h"

using Code = FavoritesResult::Code;

QString FavoritesMessages::Text(const FavoritesResult& result, qsizetype count)
{
    switch (result.code) {
    case Code::Done:
    case Code::Unchanged:
    case Code::Blank:
        return {};
    case Code::Duplicate:
        return QStringLiteral("The same content already exist, delete it then add new!");
    case Code::Taken:
        return QStringLiteral("Another favorite already has this name and address. Nothing was "
                              "changed.");
    case Code::Gone:
        return count == 1 ? QStringLiteral("This favorite is no longer in My Favorites as shown: "
                                           "it was changed or deleted since. Nothing was changed.")
                          : QStringLiteral("These favorites are no longer in My Favorites as "
                                           "shown: they were changed or deleted since. Nothing "
                                           "was changed.");
    case Code::FolderTaken:
        return QStringLiteral("There is a folder of this name there already. Nothing was changed.");
    case Code::TooDeep:
        return QStringLiteral("Folders can hold folders %1 deep at most. Nothing was changed.")
            .arg(CFavoritesChange::kMaxFolderDepth);
    case Code::IntoItself:
        return QStringLiteral("A folder cannot be moved into itself or into a folder it holds. "
                              "Nothing was changed.");
    case Code::NoParser:
        return QStringLiteral("Unable to create DOMDocument object. Please check the installation "
                              "of the MS XML Parser!");
    case Code::NodeFailure:
        return QStringLiteral("Access node failure!");
    case Code::Refused:
        return QStringLiteral("My Favorites cannot be read from %1: %2. They are left out "
                              "until it is a favorites file again.")
            .arg(result.path, result.reason);
    case Code::Failed:
        return QStringLiteral("Unable to change the favorites file %1.\n%2")
            .arg(result.path, result.reason);
    case Code::SourceUnreadable:
        return QStringLiteral("读取配置文件 Favorites.xml 失败！");
    case Code::SourceReadError:
        return QStringLiteral(
                   "读取配置文件 Favorites.xml 时出错：%1。备份未完成，原有的备份未改动！")
            .arg(result.reason);
    case Code::BackupLocked:
        return QStringLiteral("创建配置文件 Favorites.xml.bk 失败！\n%1").arg(result.reason);
    case Code::BackupUnwritable:
        return QStringLiteral("创建配置文件 Favorites.xml.bk 失败！\n%1\n原有的备份未改动。")
            .arg(result.reason);
    }
    return {};
}

bool FavoritesMessages::Tell(const FavoritesResult& result, qsizetype count)
{
    if (const QString text = Text(result, count); !text.isEmpty())
        MessageBox::Show(text, MB_OK | MB_ICONWARNING); // every one a refusal or a failure
    if (result.is(Code::Done) && !result.joinedFolders.isEmpty()) {
        QStringList names;
        for (const QStringList& path : result.joinedFolders)
            names.append(QStringLiteral("\u201c%1\u201d").arg(path.join(QStringLiteral(" / "))));
        MessageBox::Show(QStringLiteral("My Favorites held folders of the same name side by side: "
                                        "%1. Each is one folder now, holding everything they "
                                        "held.")
                             .arg(names.join(QStringLiteral(", "))),
                         MB_OK | MB_ICONINFORMATION);
    }
    return result.succeeded();
}
