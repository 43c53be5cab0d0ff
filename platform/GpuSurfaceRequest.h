// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QWidget>

// An invisible child that makes its window ask for a GPU-capable surface while requested.
// Unlike a hidden GPU-drawn widget, it can withdraw the request: a window created while it
// asks gets a GPU-capable native surface, and once it stops asking, the window's widgets
// are flushed without the GPU until composition is switched on.
class GpuSurfaceRequest : public QWidget
{
    Q_OBJECT

public:
    explicit GpuSurfaceRequest(QWidget* parent);

    void SetRequested(bool requested);
};
