#pragma once

#include <QObject>

class QWidget;

// Lets a window that will host a GPU-drawn child (the web engine's view) show its first
// frame as fast as a plain window.
//
// A window that gets its first GPU-drawn child while on screen must be taken down and put up
// again with a GPU surface: it blinks. A window given that surface from the start flushes
// even its first frame through the GPU, which waits for the graphics context. So the window
// is created GPU-ready, its first frame is flushed the plain way, and GPU composition is
// switched on right after that frame: no blink, no wait.
class GpuCompositionGate : public QObject
{
    Q_OBJECT

public:
    // pane: the widget that will hold the GPU-drawn child; its window is the one handled.
    explicit GpuCompositionGate(QWidget* pane);

    // Whether the window's first frame has been drawn (and composition is open).
    [[nodiscard]] bool isOpen() const { return m_open; }

signals:
    // The window's first frame has reached the screen: GPU-drawn children may come now.
    void opened();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Hold();
    void Open();

    QWidget* m_pane;
    bool m_held = false;
    bool m_gpuFlush = false;
    bool m_opening = false;
    bool m_open = false;
};
