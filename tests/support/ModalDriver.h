// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>

// Answers modal dialogs once they are up and active, one queued step per dialog, so a test
// can drive nested modal loops without ever blocking. A watchdog closes whatever is still modal
// after a time-out and marks the run as failed.
class ModalDriver : public QObject
{
public:
    explicit ModalDriver(int timeoutMs = 20000) : m_timeoutMs(timeoutMs)
    {
        m_clock.start();
        schedule();
    }

    // Runs the action once the next modal dialog of type T shows.
    template <class T> void next(std::function<void(T*)> action)
    {
        m_steps.push_back([action](QWidget* widget) {
            auto* dialog = qobject_cast<T*>(widget);
            if (!dialog)
                return false;
            action(dialog);
            return true;
        });
    }

    [[nodiscard]] bool timedOut() const { return m_timedOut; }
    [[nodiscard]] bool done() const { return m_steps.empty(); }

private:
    void schedule()
    {
        QPointer<ModalDriver> self(this);
        QTimer::singleShot(10, this, [self] {
            if (self)
                self->poll();
        });
    }

    void poll()
    {
        // The next poll is queued first: a step may start a nested modal loop.
        schedule();
        QWidget* modal = QApplication::activeModalWidget();
        if (m_clock.elapsed() > m_timeoutMs) {
            if (modal) {
                m_timedOut = true;
                modal->close();
                if (modal->isVisible())
                    modal->hide();
            }
            return;
        }
        if (!modal || m_steps.empty() || modal == m_lastHandled)
            return;
        // A dialog is shown before the system activates it and gives its focus out; on a
        // busy machine a step could otherwise see it half way. A dialog that a nested one
        // covered asks to be active again, as the system does for the user.
        if (!modal->isVisible())
            return;
        if (!modal->isActiveWindow()) {
            modal->activateWindow();
            return;
        }
        auto step = m_steps.front();
        m_steps.pop_front();
        m_lastHandled = modal;
        if (!step(modal))
            m_steps.push_front(step), m_lastHandled = nullptr;
    }

    std::deque<std::function<bool(QWidget*)>> m_steps;
    QPointer<QWidget> m_lastHandled;
    QElapsedTimer m_clock;
    int m_timeoutMs;
    bool m_timedOut = false;
};
