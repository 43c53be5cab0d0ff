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
    const QPoint position(m_profile.GetInt(kSettingsSection, SettingsKeys::WindowLeft),
                          m_profile.GetInt(kSettingsSection, SettingsKeys::WindowTop));
    // A place off every screen (one that was unplugged, say) keeps the default place.
    if (canBeGrabbed(QRect(position, size)))
        move(position);
}

void CMainFrame::SaveWindowPlacement()
{
    // Only the restored place and size are kept; WindowSize tells a maximized start.
    if (!isVisible() || (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized |
                                           Qt::WindowFullScreen)))
        return;
    const QRect placement(pos(), size());
    if (placement == m_savedPlacement)
        return;
    m_savedPlacement = placement;
    m_profile.Write(kSettingsSection, SettingsKeys::WindowLeft, placement.x());
    m_profile.Write(kSettingsSection, SettingsKeys::WindowTop, placement.y());
    m_profile.Write(kSettingsSection, SettingsKeys::WindowWidth, placement.width());
    m_profile.Write(kSettingsSection, SettingsKeys::WindowHeight, placement.height());
}

void CMainFrame::SaveTreeWidth()
{
    const QList<int> sizes = m_wndSplitter.sizes();
    if (!sizes.isEmpty() && sizes.first() > 0)
        m_profile.Write(kSettingsSection, SettingsKeys::TreeWidth, sizes.first());
}

int CMainFrame::StoredTreeWidth() const
{
    const int width = m_profile.GetInt(kSettingsSection, SettingsKeys::TreeWidth);
    return width > 0 ? width : SettingsKeys::TreeWidth.defaultValue;
}
