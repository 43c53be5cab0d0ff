#include "GpuCompositionGate.h"

#include <QEvent>
#include <QGuiApplication>
#include <QOpenGLContext>
#include <QOpenGLWidget>
#include <QTimer>
#include <QWidget>
#include <QWindow>

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
        // A GPU-drawn child present when the window is created gives it a GPU-ready
        // surface. This one is never shown, so it never starts a graphics context.
        auto* surfaceKeeper = new QOpenGLWidget(pane);
        surfaceKeeper->hide();
    }
    pane->installEventFilter(this);
}

bool GpuCompositionGate::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_pane || m_open)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::Show && !m_held) {
        Hold();
    } else if (event->type() == QEvent::Paint && !m_opening) {
        const QWindow* handle = m_pane->window()->windowHandle();
        if (handle && handle->isExposed()) {
            // Opened once this frame has been flushed, which ends the current paint.
            m_opening = true;
            QTimer::singleShot(0, this, [this] { Open(); });
        }
    }
    return QObject::eventFilter(watched, event);
}

void GpuCompositionGate::Hold()
{
    QWidget* window = m_pane->window();
    // A plain first frame in a GPU-ready window is known to work with X11; elsewhere the
    // window composes through the GPU from its first frame on.
    if (!window->testAttribute(Qt::WA_WState_Created) ||
        QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    QWidgetPrivate* data = QWidgetPrivate::get(window);
    m_gpuFlush = data->usesRhiFlush;
    data->usesRhiFlush = false;
    m_held = true;
}

void GpuCompositionGate::Open()
{
    // The next flush composes the whole window through the GPU, the frame drawn so far
    // included, so nothing needs drawing again.
    if (m_held && m_gpuFlush)
        QWidgetPrivate::get(m_pane->window())->usesRhiFlush = true;
    m_held = false;
    m_open = true;
    emit opened();
}
