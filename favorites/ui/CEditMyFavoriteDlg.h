// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "favorites/FavoriteRef.h"
#include "favorites/FavoritesUpdate.h"
#include "platform/Dialog.h"

#include <QAbstractItemModel>
#include <QSet>

class CFavoritesStore;
class FavoritesSearchProxy;
class FavoritesTreeModel;
class QLineEdit;
class QMenu;
class QTreeView;

// Lists every favorite, numbered in file order, in its folder; the door to adding, editing,
// deleting and moving them and to the folders. A search field shows only the favorites whose
// name or address (or whose folder's name) holds its text, as it is typed, with their folders
// opened; a header click orders the view. Edit changes the one selected favorite; F2 and the
// Delete key act on the selected favorites or folder. The list follows every change of the
// file while the editor is open, keeping the selection and the opened folders.
class CEditMyFavoriteDlg : public Dialog
{
    Q_OBJECT

public:
    explicit CEditMyFavoriteDlg(CFavoritesStore& store, QWidget* parent = nullptr);
    ~CEditMyFavoriteDlg() override;

    [[nodiscard]] QTreeView* list() const { return m_listFavorites; }
    [[nodiscard]] FavoritesTreeModel& model() const { return *m_model; }

    // Empties the list and fills it again from the file.
    void FillFavoritesList();
    // Shows the file as the update has it, keeping the selected and the current rows by name
    // and address (folders by path) and the folders the user opened.
    void ShowUpdate(const FavoritesUpdate& update);
    // The right-click menu for a row of the list (a view index; a folder's or a favorite's),
    // owned by the caller.
    [[nodiscard]] QMenu* ContextMenuFor(const QModelIndex& index);

protected:
    bool OnInitDialog() override;
    // The New button and the Enter key: never closes the editor.
    void OnOK() override;
    // A double-click on the list, on a favorite or on empty space (an invalid index).
    void OnDblclkFavoriteList(const QModelIndex& index);
    // The Edit button and F2: edits the favorite, renames the folder.
    void OnEditRecord();
    // The Delete key: the selected favorites, or the selected folder.
    void OnDeleteRecords();

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The selected rows, as the model's indexes, top to bottom of the file.
    [[nodiscard]] QModelIndexList SelectedRows() const;
    [[nodiscard]] QList<FavoriteRef> SelectedFavorites() const;
    void UpdateEditButton();
    // Shows only the rows the search text is in, with their folders opened.
    void ApplySearch();
    void ApplySort(int column, Qt::SortOrder order);
    // Opens the folders the user opened, as long as no search opens its own.
    void RestoreExpansion();
    void OnNewFolder(const QStringList& parent);
    // Moves the selected favorites to a folder the user chooses.
    void OnMoveRecords();
    // Selects and shows the row of the model index.
    void SelectRow(const QModelIndex& index);
    // Selects and shows the favorite holding record, the one nearest the ordinal near among
    // twins.
    void SelectRecord(const FavoriteRecord& record, qsizetype near);

    CFavoritesStore& m_store;
    QTreeView* m_listFavorites;
    FavoritesTreeModel* m_model;
    FavoritesSearchProxy* m_proxy;
    QLineEdit* m_search = nullptr;
    // The folders the user opened, while no search opened them all.
    QSet<QStringList> m_expanded;
    bool m_restoring = false;
};
