// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QTreeView>

class HeadlineModel;

// The list of headlines: one row an item, no widget per row. Enter or a double-click opens
// the current item, Space turns its read mark over, F5 asks for a refresh.
class HeadlineList : public QTreeView
{
    Q_OBJECT

public:
    explicit HeadlineList(HeadlineModel* model, QWidget* parent = nullptr);

    [[nodiscard]] HeadlineModel* headlines() const { return m_model; }
    // Makes the newest item current, when none is.
    void ensureCurrent();

signals:
    void openRequested(int row);
    void toggleReadRequested(int row);
    void refreshRequested();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    HeadlineModel* m_model;
};
