// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QObject>

class GpuSurfaceRequest;
class QWidget;

// Lets a window that will host a GPU-drawn child (the web engine's view) show its first
// frame as fast as a plain window.
//
// A window that gets its first GPU-drawn child while on screen must be taken down and put up
// again with a GPU surface: it blinks. A window given GPU composition from the start makes
// its graphics context before its first frame and flushes that frame through the GPU: it is
// late. So the native window is created GPU-capable, its first frame is drawn and flushed
// the plain way, and the graphics context is made and GPU composition switched on right
// after that frame: no blink, no wait.
class GpuCompositionGate : public QObject
{
    Q_OBJECT

public:
    // pane: the widget that will hold the GPU-drawn child; its window is the one handled.
    explicit GpuCompositionGate(QWidget* pane);

signals:
    // The window's first frame has reached the screen: GPU-drawn children may come now.
    void opened();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnSurfaceCreated();
    void Open();

    QWidget* m_pane;
    GpuSurfaceRequest* m_request = nullptr;
    bool m_deferred = false;
};
