// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FirstFrameWatch.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

FirstFrameWatch::FirstFrameWatch(QWidget* widget) : QObject(widget), m_widget(widget)
{
    widget->installEventFilter(this);
}

bool FirstFrameWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_widget && event->type() == QEvent::Paint) {
        // A paint before the window is on screen draws nothing the user sees.
        const QWindow* handle = m_widget->window()->windowHandle();
        if (handle && handle->isExposed()) {
            m_widget->removeEventFilter(this);
            // Told once this frame has been flushed, which ends the current paint.
            QTimer::singleShot(0, this, &FirstFrameWatch::shown);
        }
    }
    return QObject::eventFilter(watched, event);
}
