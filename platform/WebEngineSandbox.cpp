#include "WebEngineSandbox.h"

#include <QByteArray>
#include <QtGlobal>

#include <unistd.h>

void WebEngineSandbox::ConfigureForCurrentUser()
{
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", QByteArrayLiteral("1"));
}
