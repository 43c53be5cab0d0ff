// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CMainFrame.h"

#include "app/SettingsKeys.h"

#include <QGuiApplication>
#include <QScreen>

namespace {
// How much of a window's top edge must lie on a screen for the user to grab it there.
constexpr int kGrabWidth = 100;
constexpr int kTitleBarHeight = 30;

bool canBeGrabbed(const QRect& placement)
{
    const QRect titleBar(placement.topLeft(), QSize(placement.width(), kTitleBarHeight));
    const QList<QScreen*> screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(), [&](const QScreen* screen) {
        const QRect visible = screen->availableGeometry().intersected(titleBar);
        return visible.width() >= std::min(kGrabWidth, placement.width()) &&
               visible.height() >= kTitleBarHeight / 2;
    });
}
} // namespace

void CMainFrame::RestoreWindowPlacement()
{
    const int width = m_profile.GetInt(kSettingsSection, SettingsKeys::WindowWidth);
    const int height = m_profile.GetInt(kSettingsSection, SettingsKeys::WindowHeight);
    if (width <= 0 || height <= 0)
        return; // the default place and size
    QSize size(width, height);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size());
    resize(size);
    // Where windows cannot be placed, the place kept from another session stays kept for it.
    if (!CanPlaceWindows()) {
        m_savedPlacement = QRect(QPoint(), QSize(width, height));
        return;
    }
    const QPoint position(m_profile.GetInt(kSettingsSection, SettingsKeys::WindowLeft),
                          m_profile.GetInt(kSettingsSection, SettingsKeys::WindowTop));
    // A place off every screen (one that was unplugged, say) keeps the default place.
    if (canBeGrabbed(QRect(position, size))) {
        move(position);
        m_savedPlacement = QRect(position, QSize(width, height));
    }
}

void CMainFrame::OnLayoutChanged()
{
    // Only the restored place and size are kept; WindowSize tells a maximized start.
    if (isVisible() &&
        !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)))
        m_pendingPlacement = QRect(CanPlaceWindows() ? pos() : QPoint(), size());
    // A drag moves the window or the bar many times a second: what it ends with is stored.
    m_layoutSaveTimer.start();
}

void CMainFrame::SaveLayout()
{
    m_layoutSaveTimer.stop();
    Profile::Batch batch(m_profile);
    if (m_pendingPlacement.isValid() && m_pendingPlacement != m_savedPlacement) {
        m_savedPlacement = m_pendingPlacement;
        if (CanPlaceWindows()) {
            m_profile.Write(kSettingsSection, SettingsKeys::WindowLeft, m_savedPlacement.x());
            m_profile.Write(kSettingsSection, SettingsKeys::WindowTop, m_savedPlacement.y());
        }
        m_profile.Write(kSettingsSection, SettingsKeys::WindowWidth, m_savedPlacement.width());
        m_profile.Write(kSettingsSection, SettingsKeys::WindowHeight, m_savedPlacement.height());
    }
    const QList<int> sizes = m_wndSplitter.sizes();
    if (!sizes.isEmpty() && sizes.first() > 0 && sizes.first() != m_savedTreeWidth) {
        m_savedTreeWidth = sizes.first();
        m_profile.Write(kSettingsSection, SettingsKeys::TreeWidth, m_savedTreeWidth);
    }
}

int CMainFrame::StoredTreeWidth()
{
    const int width = m_profile.GetInt(kSettingsSection, SettingsKeys::TreeWidth);
    m_savedTreeWidth = width > 0 ? width : SettingsKeys::TreeWidth.defaultValue;
    return m_savedTreeWidth;
}
