#pragma once

#include "platform/Dialog.h"

class QTableWidget;

// Lists every favorite, numbered in file order; the door to adding and deleting them.
class CEditMyFavoriteDlg : public Dialog
{
    Q_OBJECT

public:
    explicit CEditMyFavoriteDlg(QWidget* parent = nullptr);

    [[nodiscard]] QTableWidget* list() const { return m_listFavorites; }

    // Empties the list and fills it again from the file.
    void FillFavoritesList();

protected:
    bool OnInitDialog() override;
    // The New button and the Enter key: never closes the editor.
    void OnOK() override;
    // A double-click on the list; row -1 is empty space.
    void OnDblclkFavoriteList(int row);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableWidget* m_listFavorites;
};
