// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;

// The bar at the bottom of the browser pane that finds text in the page: the word to find,
// how many matches there are and which one is shown ("3 of 12"), and buttons for the previous
// and the next. Enter finds the next match, Shift+Enter the previous one, Esc closes the bar.
class FindBar : public QWidget
{
    Q_OBJECT

public:
    explicit FindBar(QWidget* parent = nullptr);

    // Shows the bar with the focus in its field and the text selected.
    void Open();
    // Hides the bar; the page loses its highlights.
    void Close();
    [[nodiscard]] QString text() const;
    [[nodiscard]] QString resultText() const;
    [[nodiscard]] QLineEdit* field() const { return m_field; }

    // What the last search found: the match on show (counted from 1) of count.
    void ShowResult(int active, int count);

signals:
    // Find this text, after the match on show or before it; "" ends the search.
    void findRequested(const QString& text, bool backward);
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Find(bool backward);

    QLineEdit* m_field;
    QLabel* m_result;
    QToolButton* m_previous;
    QToolButton* m_next;
    QToolButton* m_close;
    // Typing searches once the keys pause, not at every key.
    QTimer m_typingPause;
};
