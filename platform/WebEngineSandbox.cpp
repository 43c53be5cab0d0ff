#include "WebEngineSandbox.h"

#include <QtGlobal>

#include <unistd.h>

void WebEngineSandbox::ConfigureForCurrentUser()
{
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}
