// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "app/CKestrinNewsReaderApp.h"
#include "app/SettingsKeys.h"
#include "app/StartupTrace.h"
#include "app/UserDataFolder.h"
#include "platform/FrameWindow.h"
#include "platform/MessageBox.h"
#include "platform/WebEngineLogging.h"
#include "platform/WebEngineSandbox.h"
#include "res/Resource.h"
#include "res/StringTable.h"

#include <QApplication>
#include <QFileInfo>

int main(int argc, char* argv[])
{
    WebEngineSandbox::ConfigureForCurrentUser();
    WebEngineLogging::QuietenUnlessAsked();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(kRegistryKey);
    QCoreApplication::setApplicationName(StringTable::Load(AFX_IDS_APP_TITLE));
    QGuiApplication::setDesktopFileName(QStringLiteral(KESTRIN_APP_ID));
    MessageBox::SetCaption(StringTable::Load(AFX_IDS_APP_TITLE));

    // A file named on the command line is meant from the folder the user started in.
    QStringList arguments;
    for (const QString& argument : QCoreApplication::arguments().mid(1)) {
        arguments.append(argument.startsWith(QLatin1Char('-'))
                             ? argument
                             : QFileInfo(argument).absoluteFilePath());
    }

    // From here on the program reads Favorites.xml, readme.htm and Skin/ from its working
    // directory: whatever folder it was started from, that is the user's own folder.
    UserDataFolder folder(UserDataFolder::DefaultPath(), UserDataFolder::ShippedDataPath());
    if (!folder.Enter())
        MessageBox::Show(folder.report(), MB_OK | MB_ICONWARNING);

    CKestrinNewsReaderApp theApp(
        [](const QString& organization, const QString& app) {
            return std::make_unique<Profile>(organization, app);
        },
        arguments);
    if (!theApp.InitInstance()) {
        theApp.ExitInstance();
        return 1;
    }
    StartupTrace::Watch(theApp.mainWindow());
    QApplication::exec();
    return theApp.ExitInstance();
}
