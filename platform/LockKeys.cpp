// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "LockKeys.h"

#include <QGuiApplication>

#if __has_include(<X11/XKBlib.h>) && QT_CONFIG(xcb)
#include <X11/XKBlib.h>
#define KESTRIN_HAVE_XKB 1
#endif

bool LockKeys::IsOn(Key key)
{
#ifdef KESTRIN_HAVE_XKB
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display())
        return false;
    unsigned int state = 0;
    if (XkbGetIndicatorState(x11->display(), XkbUseCoreKbd, &state) != Success)
        return false;
    return (state >> static_cast<unsigned>(key)) & 1U;
#else
    Q_UNUSED(key);
    return false;
#endif
}
