// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "GpuCompositionGate.h"

#include "FirstFrameWatch.h"
#include "GpuSurfaceRequest.h"

#include <QBackingStore>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QOpenGLContext>
#include <QPlatformSurfaceEvent>
#include <QWidget>
#include <QWindow>

#include <QtGui/qpa/qplatformbackingstore.h>
// Whether a window's widgets are flushed through the GPU is decided when the window is
// created and kept in the widget's private data; Qt offers no public switch for it.
#include <QtWidgets/private/qwidget_p.h>

namespace {
// Without OpenGL (a headless display, say) the engine draws with the CPU and the window
// needs no GPU surface.
bool openGlAvailable()
{
    const QOpenGLContext* shared = QOpenGLContext::globalShareContext();
    return shared && shared->isValid();
}
} // namespace

GpuCompositionGate::GpuCompositionGate(QWidget* pane) : QObject(pane), m_pane(pane)
{
    if (openGlAvailable()) {
        m_request = new GpuSurfaceRequest(pane);
        // A plain first frame in a GPU-capable window is known to work with X11; elsewhere
        // the window composes through the GPU from its first frame on.
        if (QGuiApplication::platformName() == QLatin1String("xcb"))
            QCoreApplication::instance()->installEventFilter(this);
    }
    connect(new FirstFrameWatch(pane), &FirstFrameWatch::shown, this, &GpuCompositionGate::Open);
}

bool GpuCompositionGate::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::PlatformSurface && watched == m_pane->window()->windowHandle() &&
        static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() ==
            QPlatformSurfaceEvent::SurfaceCreated) {
        OnSurfaceCreated();
    }
    return QObject::eventFilter(watched, event);
}

void GpuCompositionGate::OnSurfaceCreated()
{
    QCoreApplication::instance()->removeEventFilter(this);
    if (!m_request)
        return;
    // The native window is GPU-capable now. Right after this, Qt asks the widgets again
    // whether to compose through the GPU, and makes the graphics context if so: withdrawn,
    // the request leaves the first frame to the CPU and the context for later.
    m_request->SetRequested(false);
    m_deferred = true;
}

void GpuCompositionGate::Open()
{
    if (m_deferred) {
        QWidget* window = m_pane->window();
        m_request->SetRequested(true);
        if (QBackingStore* store = window->backingStore()) {
            store->handle()->setRhiConfig(
                QPlatformBackingStoreRhiConfig(QPlatformBackingStoreRhiConfig::OpenGL));
            // The next flush composes the whole window through the GPU, the frame drawn so
            // far included, so nothing needs drawing again.
            if (store->handle()->rhi())
                QWidgetPrivate::get(window)->usesRhiFlush = true;
        }
    }
    emit opened();
}
