// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "GpuSurfaceRequest.h"

#include <QtGui/qpa/qplatformbackingstore.h>
#include <QtWidgets/private/qwidget_p.h>

namespace {
// Qt decides whether a window is GPU-ready by asking each widget's private data.
class GpuSurfaceRequestPrivate : public QWidgetPrivate
{
public:
    QPlatformBackingStoreRhiConfig rhiConfig() const override
    {
        return requested ? QPlatformBackingStoreRhiConfig(QPlatformBackingStoreRhiConfig::OpenGL)
                         : QPlatformBackingStoreRhiConfig();
    }

    bool requested = true;
};
} // namespace

GpuSurfaceRequest::GpuSurfaceRequest(QWidget* parent)
    : QWidget(*new GpuSurfaceRequestPrivate, parent, {})
{
    setAttribute(Qt::WA_DontShowOnScreen);
    hide();
}

void GpuSurfaceRequest::SetRequested(bool requested)
{
    static_cast<GpuSurfaceRequestPrivate*>(QWidgetPrivate::get(this))->requested = requested;
}
