// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "favorites/CFavoritesBackups.h"

#include <QDialog>
#include <QList>

class CFavoritesStore;
class QPushButton;
class QTreeWidget;

// Favorites > Restore: lists the copy Favorites > Backup makes and the automatic backups,
// newest first, with the time each was made and how many favorites it holds, and puts the
// chosen one in place of Favorites.xml after a confirmation, each row saying why its backup
// was made. Backups that cannot be read are listed greyed, with the reason as their tooltip,
// and cannot be chosen.
class CRestoreFavoritesDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CRestoreFavoritesDlg(CFavoritesStore& store, QWidget* parent = nullptr);

    // Says so when there is no backup at all; otherwise runs the dialog. True when a
    // backup was restored.
    static bool Run(CFavoritesStore& store);

    // Reads the backups again.
    void Fill();
    [[nodiscard]] bool IsEmpty() const { return m_entries.isEmpty(); }
    [[nodiscard]] QTreeWidget* list() const { return m_list; }
    [[nodiscard]] QPushButton* restoreButton() const { return m_restore; }

    [[nodiscard]] static QString TimeText(const CFavoritesBackups::Entry& entry);
    [[nodiscard]] static QString TimeText(const QDateTime& time);
    // Why the backup was made, as the list says it.
    [[nodiscard]] static QString ReasonText(const CFavoritesBackups::Entry& entry);

private:
    void OnRestore();
    void UpdateButtons();
    // The entry of the selected row, or nullptr.
    [[nodiscard]] const CFavoritesBackups::Entry* Selected() const;

    CFavoritesStore& m_store;
    QTreeWidget* m_list;
    QPushButton* m_restore;
    QList<CFavoritesBackups::Entry> m_entries;
};
