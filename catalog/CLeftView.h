// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "app/SettingsKeys.h"
#include "favorites/FavoriteRecord.h"
#include "favorites/FavoriteRef.h"
#include "platform/View.h"

#include <QCollator>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <QTimer>
#include <QTreeWidget>

#include <span>
#include <unordered_map>
#include <vector>

class CFavoritesStore;
class CKestrinNewsReaderDoc;
struct FavoritesUpdate;
class QFontMetrics;
class Profile;
struct CatalogEntry;

// The left-hand pane: the catalog tree of favorites and built-in newspaper sites. Each item
// that leads somewhere carries an index into the view's URL table as its item data.
// My Favorites follows every change of the favorites file at once, without a rebuild: a
// favorite that stays keeps its item and its index, a new one takes the next free index
// (a rebuild numbers them 1 to F again), and the catalog's items, selection and scroll
// position are left alone.
class CLeftView : public QTreeWidget, public View
{
    Q_OBJECT

public:
    // The item data role holding the URL-table index (0: no URL).
    static constexpr int kIndexRole = Qt::UserRole;
    // On a folder of My Favorites: its path of titles.
    // Apart from the roles of the marks drawn after a name (UserRole + 40, + 41).
    static constexpr int kFolderRole = Qt::UserRole + 42;

    // Shows the favorites of the store.
    CLeftView(Profile& profile, CFavoritesStore& favorites, QWidget* parent = nullptr);
    // Keeps an expansion not written yet.
    ~CLeftView() override;

    QWidget* widget() override { return this; }
    [[nodiscard]] CKestrinNewsReaderDoc* GetDocument() const;
    [[nodiscard]] CFavoritesStore& favorites() const { return m_favorites; }

    void OnInitialUpdate() override;
    // Deletes every item and builds the whole tree again: by kind of outlet, or by area
    // (National, World, the states) for any other mode.
    void RebuildTree(CatalogView mode);
    // The same with the favorites read already.
    void BuildTree(CatalogView mode, const QList<FavoriteRecord>& records,
                   const QList<QStringList>& folders);

    QTreeWidgetItem* AddSite(QTreeWidgetItem* parent, const QString& name, const QString& url);
    void AddNationalCatalog(QTreeWidgetItem* root);
    void AddWorldCatalog(QTreeWidgetItem* root);
    void AddStatesCatalog(QTreeWidgetItem* root);
    // One node per kind, each holding its sites grouped as in the catalog by area.
    void AddContentCatalog(QTreeWidgetItem* root);

    // The URL stored for an item-data index; empty for 0 or an unused index.
    [[nodiscard]] QString urlAt(int index) const;
    // The built-in entry behind an item-data index; nullptr for favorites and nodes.
    [[nodiscard]] const CatalogEntry* catalogEntryAt(int index) const;
    [[nodiscard]] int nextIndex() const { return m_nNextIndex; }

    // Opens the selected item again, as selecting it did.
    void OpenSelected();
    [[nodiscard]] QString urlOf(const QTreeWidgetItem* item) const
    {
        return item ? urlAt(item->data(0, kIndexRole).toInt()) : QString();
    }
    // Opens an item as selecting it does, also when it is selected already.
    void OpenItem(QTreeWidgetItem* item);

    // The item of a favorite, found by name and address (the last of twins); nullptr when
    // My Favorites shows none.
    [[nodiscard]] QTreeWidgetItem* FavoriteItem(const FavoriteRecord& record) const;
    // Selects a favorite and scrolls it into view, without opening it: it was just added.
    void RevealFavorite(const FavoriteRecord& record);
    // The My Favorites node; nullptr before the first build.
    [[nodiscard]] QTreeWidgetItem* FavoritesNode() const { return m_pFavoritesNode; }
    // My Favorites itself.
    [[nodiscard]] bool IsFavoritesNode(const QTreeWidgetItem* item) const
    {
        return item && item == m_pFavoritesNode;
    }
    // A favorite's place in the file as the tree knows it; -1 for any other item.
    [[nodiscard]] int FavoriteOrdinal(const QTreeWidgetItem* item) const;
    // Makes My Favorites show these records, in file order, and these folders.
    void UpdateFavorites(const QList<FavoriteRecord>& records,
                         const QList<QStringList>& folders = {});

    // Folders of My Favorites. My Favorites itself is the folder with the empty path.
    [[nodiscard]] bool IsFolder(const QTreeWidgetItem* item) const;
    [[nodiscard]] QStringList FolderPath(const QTreeWidgetItem* item) const;
    [[nodiscard]] QTreeWidgetItem* FolderItem(const QStringList& path) const;
    // Every folder's path, as the tree shows them.
    [[nodiscard]] QList<QStringList> FolderPaths() const;
    // The favorites in a folder and the folders it holds, in file order.
    [[nodiscard]] QList<FavoriteRef> FavoritesUnder(const QTreeWidgetItem* folder) const;
    // A favorite of My Favorites (not a site of the catalog).
    [[nodiscard]] bool IsFavorite(const QTreeWidgetItem* item) const;
    // Moves what was dragged into the folder of target (a folder, My Favorites, or a
    // favorite's folder); false when it cannot go there.
    bool DropOn(QTreeWidgetItem* dragged, QTreeWidgetItem* target);

    // Widest visible row, indentation included: the column's width.
    [[nodiscard]] int sizeHintForColumn(int column) const override;
    // Fits the column to the visible rows once the current changes are done.
    void ScheduleColumnFit();

signals:
    // The tree was built anew: every item is new.
    void treeRebuilt();
    // The user chose a site or favorite: the browser pane should show its address.
    void openRequested(const QString& url);
    // My Favorites changed without a rebuild; items are the favorites that are new or show
    // another name or address. Removed items are gone already.
    void favoritesUpdated(const QList<QTreeWidgetItem*>& items);

protected:
    void OnSelchanged(QTreeWidgetItem* item);
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QTreeWidgetItem* AppendNode(QTreeWidgetItem* parent, const QString& text);
    // The folder items for these paths (and those holding them) under My Favorites, made
    // detached where missing; they are put in place by PlaceFolders.
    QTreeWidgetItem* EnsureFolder(const QStringList& path);
    // Every folder item under its parent, before the favorites, by name.
    void PlaceFolders();
    // Lays out My Favorites anew: every folder and favorite under its folder, in order.
    void ArrangeInFolders(const QList<QTreeWidgetItem*>& items,
                          const QList<FavoriteRecord>& records, const QList<QStringList>& folders);
    void RestoreExpansion();
    void RememberExpansion(QTreeWidgetItem* item, bool expanded);
    // Writes the expanded folders to the settings.
    void KeepExpansion();
    [[nodiscard]] bool CanDropOn(const QTreeWidgetItem* dragged,
                                 const QTreeWidgetItem* target) const;
    // Files the URL in the next free slot; returns the slot.
    int TakeSlot(const QString& url);
    [[nodiscard]] QList<FavoriteRecord> ShownFavorites() const;
    // Puts the favorites' items (in file order) under My Favorites as a rebuild orders them,
    // moving only those changed when they are few.
    void ArrangeFavorites(const QList<QTreeWidgetItem*>& items,
                          const QList<QTreeWidgetItem*>& changed);
    // The first row on screen when it belongs to the built-in catalog, else nullptr.
    [[nodiscard]] QTreeWidgetItem* CatalogRowAtTop() const;
    // My Favorites' folders and favorites, each under its folder by name.
    void AddFavorites(const QList<FavoriteRecord>& records, const QList<QStringList>& folders);
    // A group of the built-in catalog as the tree shows it: its sites' names and addresses,
    // and their positions in order by name.
    struct CatalogGroup
    {
        std::vector<QString> names;
        std::vector<QString> urls;
        std::vector<int> order;
    };
    // Worked out at the first build; the catalog never changes.
    const CatalogGroup& Group(std::span<const CatalogEntry> entries);
    // A group's items, not placed yet, each with its slot, in stored order.
    std::vector<QTreeWidgetItem*> NewEntryItems(std::span<const CatalogEntry> entries);
    // A group's sites under node, by name.
    void AddEntries(QTreeWidgetItem* node, std::span<const CatalogEntry> entries);
    void Expand(QTreeWidgetItem* node);
    void FitColumn();
    [[nodiscard]] int RowWidth(const QModelIndex& row) const;
    [[nodiscard]] int TextAdvance(const QString& text, const QFontMetrics& metrics) const;

    Profile& m_profile;
    CFavoritesStore& m_favorites;
    // Grows with the favorites, so every one of them gets a slot; slot 0 is never used.
    std::vector<QString> m_strURLTable;
    int m_nNextIndex = 0;
    QCollator m_collator;
    // Beside the URL table: the built-in entry of each slot (none for favorites).
    std::vector<const CatalogEntry*> m_entries;
    // The catalog's groups, by their first entry.
    std::unordered_map<const CatalogEntry*, CatalogGroup> m_catalogGroups;
    // Measured row widths by item-data index, -1 until measured; cleared with the items.
    mutable std::vector<int> m_rowWidths;
    // Character advances in the view's font, for ranking rows by width, by code unit up to
    // the last summed one (-1 until measured): a look-up per character of every row.
    mutable std::vector<int> m_charAdvances;
    QTimer m_fitTimer;
    QList<QTreeWidgetItem*> m_expandAfterBuild;
    // My Favorites, and its favorites' items in file order.
    QTreeWidgetItem* m_pFavoritesNode = nullptr;
    QList<QTreeWidgetItem*> m_favoriteItems;
    // Set while the tree itself moves the selection: nothing opens then.
    bool m_bQuietSelection = false;
    // The folders of My Favorites by path, and those the user keeps expanded.
    QHash<QStringList, QTreeWidgetItem*> m_folderItems;
    QSet<QStringList> m_expandedFolders;
    // Kept once the expansion settles: a filter opens hundreds of folders at a keystroke.
    QTimer m_keepExpansion;
    // Set while the tree lays out folders: expansion that changes then is not the user's.
    bool m_bArranging = false;
    QTreeWidgetItem* m_pDragged = nullptr;
};
