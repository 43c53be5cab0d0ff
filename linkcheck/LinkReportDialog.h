// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "LinkResultStore.h"
#include "LinkTarget.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The list of dead, moved and unsure entries the checks found, with the node each is
// listed under, the finding and its date; sortable by any column. Opens a site in the
// browser pane or the user's own browser, copies the list, and points a moved favorite at
// its new address.
class LinkReportDialog : public QDialog
{
    Q_OBJECT

public:
    struct Actions
    {
        // Shows an address in the browser pane.
        std::function<void(const QString& url)> open;
        // Replaces a favorite's address; false when it could not (the user has been told).
        std::function<bool(const LinkTarget& favorite, const QString& newUrl)> useNewAddress;
    };

    enum Column
    {
        NameColumn,
        FoundColumn,
        DetailsColumn,
        CheckedColumn,
        NodeColumn,
        AddressColumn
    };

    explicit LinkReportDialog(Actions actions, QWidget* parent = nullptr);

    // Lists the entries whose address was last found anything but alive.
    void setEntries(const QList<LinkTarget>& targets, const LinkResultStore::Results& results);

    // A line above the list saying why the findings are not kept on disk; empty hides it.
    void setKeepProblem(const QString& problem);

    [[nodiscard]] QTreeWidget* list() const { return m_list; }
    // The list as tab-separated lines with a header line, in the order shown.
    [[nodiscard]] QString ListText() const;

    void openSelected();
    void openSelectedExternally();
    void copyList();
    void useNewAddress();

private:
    [[nodiscard]] QTreeWidgetItem* selected() const;
    void updateButtons();
    void updateSummary();

    Actions m_actions;
    QList<LinkTarget> m_rows;
    QLabel* m_summary;
    bool m_hasResults = false;
    QTreeWidget* m_list;
    QPushButton* m_open;
    QPushButton* m_openExternal;
    QPushButton* m_copy;
    QPushButton* m_useNew;
    QLabel* m_note;
    QLabel* m_keepProblem;
};
