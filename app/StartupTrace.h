// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QObject>

class QWidget;

// Reports, for the start-up benchmark, when the main window first reaches the screen and
// when its caption first holds a page title: wall-clock nanoseconds on standard error.
// Only active when KESTRIN_STARTUP_TRACE is set; "exit" also ends the program then.
class StartupTrace : public QObject
{
    Q_OBJECT

public:
    [[nodiscard]] static bool Enabled();
    // Watches the window; the trace deletes itself with it.
    static void Watch(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit StartupTrace(QWidget* window);
    void OnTitle(const QString& title);

    QWidget* m_window;
    bool m_exposed = false;
    bool m_titled = false;
};
