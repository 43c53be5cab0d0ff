// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "LinkChecker.h"

#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QProgressBar;
class QPushButton;

// The small window that follows a full check: how far it got, what it found so far, the
// time left, and Cancel. Not modal: the program stays in use meanwhile. Closing it hides
// it; the check goes on.
class LinkCheckWindow : public QDialog
{
    Q_OBJECT

public:
    explicit LinkCheckWindow(LinkChecker& checker, QWidget* parent = nullptr);

    // Starts the clock for a new run.
    void begin();
    // Says the computer seems to be offline, and offers Close.
    void showOffline();

    // "1,204 of 2,716 checked: 9 dead, 31 moved, 4 unsure", and "; 1,512 not checked" when
    // the computer was found offline. The same while the check runs and after it.
    [[nodiscard]] static QString CountsText(const LinkChecker::Progress& progress);
    // "About 3 minutes left"; empty while too little is done to tell.
    [[nodiscard]] static QString TimeLeftText(qint64 elapsedMs, int done, int total);

signals:
    void cancelRequested();

private:
    void refresh();

    LinkChecker& m_checker;
    QElapsedTimer m_clock;
    QLabel* m_heading;
    QProgressBar* m_bar;
    QLabel* m_counts;
    QLabel* m_timeLeft;
    QPushButton* m_button;
    bool m_offline = false;
};
