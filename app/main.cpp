#include "app/CKestrinNewsReaderApp.h"
#include "app/SettingsKeys.h"
#include "app/StartupTrace.h"
#include "platform/FrameWindow.h"
#include "platform/MessageBox.h"
#include "platform/WebEngineSandbox.h"
#include "res/Resource.h"
#include "res/StringTable.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    WebEngineSandbox::ConfigureForCurrentUser();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(kRegistryKey);
    QCoreApplication::setApplicationName(StringTable::Load(AFX_IDS_APP_TITLE));
    MessageBox::SetCaption(StringTable::Load(AFX_IDS_APP_TITLE));

    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
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
