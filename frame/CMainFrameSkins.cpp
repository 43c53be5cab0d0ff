// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CMainFrame.h"

#include "app/SettingsKeys.h"
#include "platform/SkinEngine.h"

const char* CMainFrame::SkinFile(Skin style)
{
    switch (style) {
    case Skin::XP:
        return "Skin\\XPCorona.ssk";
    case Skin::Mini:
        return "Skin\\Minimized.ssk";
    case Skin::Soft:
        return "Skin\\SoftCrystal.ssk";
    case Skin::Night:
        return "Skin\\Night.ssk";
    }
    return nullptr;
}

void CMainFrame::OnSkin(Skin style)
{
    if (style == m_nSkinStyle)
        return;
    // The choice is kept even when the file can't be loaded.
    LoadSkin(SkinFile(style));
    m_nSkinStyle = style;
    m_profile.Write(kSettingsSection, SettingsKeys::SkinStyle, style);
}

void CMainFrame::OnUpdateSkin(CommandUi& ui, Skin style) const
{
    ui.SetCheck(m_nSkinStyle == style);
}
