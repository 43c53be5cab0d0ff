// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "favorites/FavoriteRef.h"
#include "platform/Dialog.h"

class CFavoritesStore;
class QLineEdit;
class QTableWidget;

// Lists every favorite, numbered in file order, with its folder; the door to adding,
// editing, deleting and moving them. A search field shows only the favorites whose name,
// address or folder holds its text, as it is typed; a header click orders the view. Edit (and
// F2) changes the one selected row; the Delete key deletes every selected row. The list follows
// every change of the file while the editor is open, keeping the selection by name and address.
class CEditMyFavoriteDlg : public Dialog
{
    Q_OBJECT

public:
    explicit CEditMyFavoriteDlg(CFavoritesStore& store, QWidget* parent = nullptr);

    [[nodiscard]] QTableWidget* list() const { return m_listFavorites; }

    // Empties the list and fills it again from the file.
    void FillFavoritesList();
    // Fills the list with these records, keeping the selected and the current row by name
    // and address.
    void ShowRecords(const QList<FavoriteRecord>& records);

protected:
    bool OnInitDialog() override;
    // The New button and the Enter key: never closes the editor.
    void OnOK() override;
    // A double-click on the list; row -1 is empty space.
    void OnDblclkFavoriteList(int row);
    // The Edit button and F2.
    void OnEditRecord();
    // The Delete key.
    void OnDeleteRecords();

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    [[nodiscard]] FavoriteRef RefAt(int row) const;
    // The selected rows, top to bottom.
    [[nodiscard]] QList<int> SelectedRows() const;
    void UpdateEditButton();
    // Hides the rows the search text is not in.
    void ApplySearch();
    void OnNewFolder();
    // Moves the selected favorites to a folder the user chooses.
    void OnMoveRecords();
    // Selects and shows the row holding record, the one nearest row near among twins.
    void SelectRecord(const FavoriteRecord& record, int near);

    CFavoritesStore& m_store;
    QTableWidget* m_listFavorites;
    QLineEdit* m_search = nullptr;
};
