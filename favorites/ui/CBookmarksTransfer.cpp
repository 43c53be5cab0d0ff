// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CBookmarksTransfer.h"

#include "FavoritesMessages.h"
#include "favorites/CBookmarksReader.h"
#include "favorites/CBookmarksWriter.h"
#include "favorites/ComError.h"
#include "platform/MessageBox.h"
#include "platform/WaitCursor.h"
#include "res/Resource.h"
#include "res/StringTable.h"

#include <QDir>
#include <QFileInfo>

QString CBookmarksTransfer::Summary(const CFavoritesStore::ImportSummary& summary)
{
    return QStringLiteral("%1 added, %2 already in My Favorites, %3 skipped: not web addresses")
        .arg(summary.added)
        .arg(summary.alreadyThere)
        .arg(summary.notWeb);
}

bool CBookmarksTransfer::Import(CFavoritesStore& store, const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    CBookmarksReader::Result bookmarks;
    QString error;
    bool read = false;
    {
        const WaitCursor wait;
        read = CBookmarksReader::ReadFile(path, bookmarks, error);
    }
    if (!read) {
        MessageBox::Show(QStringLiteral("The file %1 cannot be imported: %2.\nNothing was changed.")
                             .arg(shown, error),
                         MB_OK | MB_ICONWARNING);
        return false;
    }
    CFavoritesStore::ImportSummary summary;
    if (!FavoritesMessages::Tell(store.Import(bookmarks.links, bookmarks.notWeb, summary,
                                              QFileInfo(path).fileName(), bookmarks.folders)))
        return false;
    MessageBox::Show(
        QStringLiteral("Bookmarks imported from %1.\n%2.").arg(shown, Summary(summary)),
        MB_OK | MB_ICONINFORMATION);
    return true;
}

bool CBookmarksTransfer::Export(const CFavoritesStore& store, const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    QList<FavoriteRecord> records;
    QList<CFavoritesChange::Child> children;
    if (const FavoritesResult read = store.ReadChecked(records, &children); !read.succeeded()) {
        const QString error =
            read.is(FavoritesResult::Code::NoParser) ? FavoritesMessages::Text(read) : read.reason;
        MessageBox::Show(QStringLiteral("The favorites file %1 cannot be read: %2.\nNothing was "
                                        "exported.")
                             .arg(QDir::toNativeSeparators(store.GetFavoritesPath()), error),
                         MB_OK | MB_ICONWARNING);
        return false;
    }
    if (records.isEmpty()) {
        MessageBox::Show(QStringLiteral("My Favorites is empty: there is nothing to export."),
                         MB_OK | MB_ICONINFORMATION);
        return false;
    }
    try {
        CBookmarksWriter::Write(path, children, StringTable::Load(IDS_DISPLAY_NAME));
    } catch (const xml::_com_error& failure) {
        MessageBox::Show(QStringLiteral("My Favorites could not be exported to %1.\n%2")
                             .arg(shown, failure.ErrorMessage()),
                         MB_OK | MB_ICONWARNING);
        return false;
    }
    MessageBox::Show(
        records.size() == 1
            ? QStringLiteral("1 favorite exported to %1.").arg(shown)
            : QStringLiteral("%1 favorites exported to %2.").arg(records.size()).arg(shown),
        MB_OK | MB_ICONINFORMATION);
    return true;
}
