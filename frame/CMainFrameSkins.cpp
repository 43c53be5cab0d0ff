#include "CMainFrame.h"

#include "app/SettingsKeys.h"
#include "platform/SkinEngine.h"

const char* CMainFrame::SkinFile(int style)
{
    switch (style) {
    case 1:
        return "Skin\\XPCorona.ssk";
    case 2:
        return "Skin\\Minimized.ssk";
    case 3:
        return "Skin\\SoftCrystal.ssk";
    case 4:
        return "Skin\\Night.ssk";
    default:
        return nullptr;
    }
}

void CMainFrame::OnSkin(int style)
{
    if (style == m_nSkinStyle)
        return;
    // The choice is kept even when the file can't be loaded.
    LoadSkin(SkinFile(style));
    m_nSkinStyle = style;
    m_profile.Write(kSettingsSection, SettingsKeys::SkinStyle, style);
}

void CMainFrame::OnUpdateSkin(CommandUi& ui, int style) const
{
    ui.SetCheck(m_nSkinStyle == style);
}
