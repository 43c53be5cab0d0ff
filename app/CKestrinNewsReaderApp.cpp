// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CKestrinNewsReaderApp.h"

#include "CAboutDlg.h"
#include "CKestrinNewsReaderDoc.h"
#include "Globals.h"
#include "SettingsKeys.h"
#include "favorites/CFavoritesStore.h"
#include "favorites/CXmlDocument.h"
#include "frame/CMainFrame.h"
#include "platform/FrameWindow.h"
#include "platform/ShowCommand.h"
#include "platform/SingleDocTemplate.h"
#include "platform/SkinEngine.h"

#include "res/Resource.h"
#include "res/StringTable.h"
#include <QDir>

CKestrinNewsReaderApp::CKestrinNewsReaderApp(ProfileFactory profileFactory, QStringList arguments)
    : WinApp(StringTable::Load(AFX_IDS_APP_TITLE), std::move(profileFactory)),
      m_arguments(std::move(arguments))
{
    m_commandMap.on(ID_APP_ABOUT, [this] { OnAppAbout(); });
}

CKestrinNewsReaderApp::~CKestrinNewsReaderApp()
{
    // The frame and its panes use the favorites store to the end.
    ReleaseDocTemplate();
}

bool CKestrinNewsReaderApp::InitInstance()
{
    SetRegistryKey(kRegistryKey);
    LoadStdProfileSettings(4);

    const StartShow windowSize = profile().GetMode(kSettingsSection, SettingsKeys::WindowSize);

    if (const char* skin =
            CMainFrame::SkinFile(profile().GetMode(kSettingsSection, SettingsKeys::SkinStyle)))
        InitializeSkin(skin);

    // The XML engine must be ready before the first tree build reads the favorites.
    CXmlDocument::InitializeEngine();
    m_favorites = std::make_unique<CFavoritesStore>(
        QDir(CurrentWorkingDirectory()).filePath(QStringLiteral("Favorites.xml")));

    AddDocTemplate(std::make_unique<SingleDocTemplate>(
        StringTable::Load(IDR_MAINFRAME), [] { return std::make_unique<CKestrinNewsReaderDoc>(); },
        [this] { return std::make_unique<CMainFrame>(profile(), this, *m_favorites); }));

    if (!ProcessShellCommand(m_arguments))
        return false;

    ShowCommand::Apply(mainWindow(), static_cast<int>(windowSize));

    g_strAppDir = CurrentWorkingDirectory();
    // A save or backup cut short by a crash left its temporary file behind. Nothing saves
    // before the window is up, so it is cleared once the window has been drawn; changes by
    // other copies are followed from then on too.
    QObject::connect(mainWindow(), &FrameWindow::firstFrameShown, mainWindow(), [this] {
        m_favorites->RemoveLeftovers();
        m_favorites->Watch();
    });

    mainWindow()->setWindowTitle(StringTable::Load(IDS_DISPLAY_NAME));
    return true;
}

int CKestrinNewsReaderApp::ExitInstance()
{
    ExitSkin();
    return WinApp::ExitInstance();
}

void CKestrinNewsReaderApp::OnAppAbout()
{
    CAboutDlg dialog;
    dialog.DoModal();
}
