// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QLineEdit>

// The one-line box over the catalog tree. Down asks for the first match, Esc clears the
// box (or, when it is empty, asks to leave it); Enter comes as returnPressed. Ctrl+K, the
// key that leads here, selects the text instead of deleting to the end of the line.
class CatalogFilterEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit CatalogFilterEdit(QWidget* parent = nullptr);

signals:
    void downPressed();
    void leaveRequested();
    void focusEntered();

protected:
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void EnsureClearButton();
};
