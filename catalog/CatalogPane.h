// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "CatalogTreeFilter.h"

#include <QWidget>

class CatalogFilterEdit;
class CLeftView;
class QLabel;

// The left pane: the filter box, a line that counts its matches, and the catalog tree.
// The tree stays the view; this pane is what the frame lays out and moves the focus to.
class CatalogPane : public QWidget
{
    Q_OBJECT

public:
    // Takes the tree into the pane.
    explicit CatalogPane(CLeftView* tree, QWidget* parent = nullptr);

    // Puts the focus in the filter box with its text selected.
    void FocusFilter();

    [[nodiscard]] CatalogFilterEdit* filterEdit() const { return m_edit; }
    [[nodiscard]] QLabel* statusLine() const { return m_status; }
    [[nodiscard]] CatalogTreeFilter& filter() { return m_filter; }

private:
    // Moves the focus to the first match and selects it, which opens it; Enter opens it
    // again when it was selected already.
    void GoToFirstMatch(bool reopen);
    void UpdateStatusLine();

    CLeftView* m_tree;
    CatalogFilterEdit* m_edit;
    QLabel* m_status;
    CatalogTreeFilter m_filter;
};
