// The store's changes beyond add and delete: edit in place, delete several, import.
#include "CFavoritesChange.h"
#include "CFavoritesStore.h"
#include "platform/MessageBox.h"

#include <QSet>

bool CFavoritesStore::Edit(const FavoriteRef& ref, const QString& title, const QString& url)
{
    const QString strTitle = TrimBlanks(title);
    const QString strURL = TrimBlanks(url);
    if (strTitle.isEmpty() || strURL.isEmpty())
        return false;

    bool unchanged = false;
    const bool saved = Modify([&](CFavoritesChange& change) {
        const long position = change.LocateAll({ref}).constFirst();
        if (position < 0) {
            MessageBox::Show(QStringLiteral("This favorite is no longer in My Favorites as shown: "
                                            "it was changed or deleted since. Nothing was "
                                            "changed."),
                             MB_OK | MB_ICONWARNING);
            return Decision::Discard;
        }
        const long holder = change.Find(strTitle, strURL);
        if (holder == position) {
            unchanged = true;
            return Decision::Discard;
        }
        if (holder >= 0) {
            MessageBox::Show(QStringLiteral("Another favorite already has this name and address. "
                                            "Nothing was changed."),
                             MB_OK | MB_ICONWARNING);
            return Decision::Discard;
        }
        change.Replace(position, strTitle, strURL);
        return Decision::Save;
    });
    return saved || unchanged;
}

bool CFavoritesStore::DeleteRecords(const QList<FavoriteRef>& refs)
{
    bool nothingThere = false;
    const bool saved = Modify([&](CFavoritesChange& change) {
        QList<long> positions = change.LocateAll(refs);
        positions.removeAll(-1);
        if (positions.isEmpty()) {
            nothingThere = true;
            return Decision::Discard;
        }
        change.RemoveAll(positions);
        return Decision::Save;
    });
    return saved || nothingThere;
}

bool CFavoritesStore::Import(const QList<FavoriteRecord>& links, int notWeb, ImportSummary& summary)
{
    summary = {0, 0, notWeb};
    bool nothingNew = false;
    const bool saved = Modify(
        [&](CFavoritesChange& change) {
            QSet<QString> known;
            for (const CFavoritesChange::Child& child : change.Children()) {
                if (child.name == QLatin1String("Favorite"))
                    known.insert(child.record.url);
            }
            for (const FavoriteRecord& link : links) {
                const QString strURL = TrimBlanks(link.url);
                const QString strTitle = TrimBlanks(link.title);
                if (strURL.isEmpty()) {
                    ++summary.notWeb;
                    continue;
                }
                if (known.contains(strURL)) {
                    ++summary.alreadyThere;
                    continue;
                }
                known.insert(strURL);
                // A bookmark without a name is known by its address.
                change.Append(strTitle.isEmpty() ? strURL : strTitle, strURL);
                ++summary.added;
            }
            nothingNew = summary.added == 0;
            return nothingNew ? Decision::Discard : Decision::Save;
        },
        BackupFirst::Always);
    if (!saved && !nothingNew)
        summary = {0, 0, notWeb};
    return saved || nothingNew;
}
