// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "favorites/FavoriteRecord.h"
#include "feeds/FeedRefresher.h"
#include "feeds/FeedWorker.h"
#include "feeds/StoredItem.h"
#include "headlines/HeadlinePane.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

class CFavoritesStore;
class CLeftView;
class Profile;
class QSplitter;
class QTreeWidgetItem;
class UnreadCountWalk;
struct FavoritesUpdate;

// The headlines as the user meets them: View > Headlines, Refresh Headlines and Mark All
// Headlines Read, the list above the page following the tree's selection, the unread
// counts in the tree and the refreshes in the background with their status lines.
class HeadlineCommands : public QObject
{
    Q_OBJECT

public:
    struct Hooks
    {
        // Shows an address in the browser pane.
        std::function<void(const QString& url)> open;
        // A line for the frame's status bar.
        std::function<void(const QString& text)> status;
        // Gives the focus back to the page when the list hides.
        std::function<void()> focusPage;
    };

    // The pane goes first into split, above what is there.
    HeadlineCommands(Profile& profile, CLeftView* tree, CFavoritesStore& favorites,
                     QSplitter* split, const QString& databasePath, Hooks hooks);
    ~HeadlineCommands() override;

    // F9: shows the list, or moves the focus into it, or hides it when it has the focus.
    void OnToggle();
    void OnRefresh();
    void OnMarkAllRead();
    // The window's first frame is on screen: the first refresh and the timer start.
    void Start();

    [[nodiscard]] bool isShown() const { return m_shown; }
    [[nodiscard]] HeadlinePane* pane() const { return m_pane; }
    [[nodiscard]] FeedRefresher& refresher() { return m_refresher; }
    // Unread items per favorite site (keyed by FeedStore::Key), as last read.
    [[nodiscard]] const QHash<QString, int>& unreadCounts() const { return m_counts; }
    // Opens the item of a row in the page and marks it read.
    void OpenRow(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // The list and the counts were read from the database again.
    void loaded();

private:
    struct Loaded
    {
        QList<StoredItem> items;
        QHash<QString, int> counts;     // by the papers' keys
        QHash<QString, int> countOfUrl; // each favorite's address with unread items
        bool withItems = false;
    };
    // The favorites as the headlines use them, worked out on the reader thread: a long list's
    // keys take a while.
    struct Favorites
    {
        QStringList sites; // each once, in file order
        QHash<QString, QString> names;
        QHash<QString, QString> keys; // of each favorite's address
        QSet<QString> keySet;
        QStringList added; // since the list before
    };

    void show(bool shown);
    void followSelection(QTreeWidgetItem* item);
    void onFavoritesChanged(const FavoritesUpdate& update);
    void setFavorites(const QList<FavoriteRecord>& records);
    void applyFavorites(const Favorites& favorites);
    // The first refresh and the timer, once the favorites are known.
    void begin();
    void onSiteLookedUp(const QString& site, const SiteFeed& feed);
    void toggleRead(int row);
    // Reads the list (or only the counts) again on the reader thread.
    void load(bool withItems);
    void writeMarks(const QList<qint64>& ids, bool read);
    void applyLoaded(const Loaded& result);
    void applyCounts();
    void applyHeight();
    void saveHeight();
    [[nodiscard]] QStringList refreshSites() const;

    Profile& m_profile;
    QPointer<CLeftView> m_tree;
    QPointer<QSplitter> m_split;
    QPointer<HeadlinePane> m_pane;
    Hooks m_hooks;
    CFavoritesStore& m_favorites;
    FeedRefresher m_refresher;
    // Reads and read marks, on a thread of their own so the window never waits.
    std::unique_ptr<FeedWorker> m_reader;
    QTimer m_refreshTimer;
    QTimer m_reloadTimer;
    QTimer m_heightTimer;
    bool m_shown = false;
    bool m_started = false;
    bool m_heightPending = false;
    quint64 m_loadGeneration = 0;
    // A read of the items was asked for and has not come back.
    bool m_itemsPending = false;

    // The favorites' sites in file order (each once), their names and keys.
    QStringList m_favoriteSites;
    QHash<QString, QString> m_favoriteNames;
    QHash<QString, QString> m_favoriteKeys;
    QSet<QString> m_favoriteKeySet;
    quint64 m_favoritesGeneration = 0;
    bool m_favoritesPending = false;
    bool m_startAsked = false;
    // What the list shows: one paper's site (with its name), or all favorites.
    QString m_paper;
    QString m_paperName;
    QHash<QString, int> m_counts;
    QHash<QString, int> m_countOfUrl;
    UnreadCountWalk* m_countWalk = nullptr;
    // Whether setFavorites ran, and whether the tree may show a count.
    bool m_favoritesKnown = false;
    bool m_treeCounted = false;
};
