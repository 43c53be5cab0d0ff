// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "StartupTrace.h"

#include "res/Resource.h"
#include "res/StringTable.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <ctime>

namespace {
long long nowNs()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}
} // namespace

bool StartupTrace::Enabled()
{
    return qEnvironmentVariableIsSet("KESTRIN_STARTUP_TRACE");
}

void StartupTrace::Watch(QWidget* window)
{
    if (Enabled() && window)
        new StartupTrace(window);
}

StartupTrace::StartupTrace(QWidget* window) : QObject(window), m_window(window)
{
    window->installEventFilter(this);
    if (window->windowHandle())
        window->windowHandle()->installEventFilter(this);
    connect(window, &QWidget::windowTitleChanged, this, &StartupTrace::OnTitle);
}

bool StartupTrace::eventFilter(QObject* watched, QEvent* event)
{
    // The first expose of the native window is the moment it is mapped on screen.
    if (!m_exposed && watched == m_window->windowHandle() && event->type() == QEvent::Expose &&
        m_window->windowHandle()->isExposed()) {
        m_exposed = true;
        std::fprintf(stderr, "kestrin-startup mapped %lld\n", nowNs());
    }
    return QObject::eventFilter(watched, event);
}

void StartupTrace::OnTitle(const QString& title)
{
    const QString suffix = QStringLiteral(" - ") + StringTable::Load(IDS_DISPLAY_NAME);
    if (m_titled || !title.endsWith(suffix))
        return;
    m_titled = true;
    std::fprintf(stderr, "kestrin-startup caption %lld %s\n", nowNs(), qPrintable(title));
    if (qEnvironmentVariable("KESTRIN_STARTUP_TRACE") == QLatin1String("exit"))
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}
