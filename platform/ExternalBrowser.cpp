#include "ExternalBrowser.h"

#include "MessageBox.h"

#include <QDesktopServices>

namespace {
ExternalBrowser::Launcher& launcher()
{
    static ExternalBrowser::Launcher value;
    return value;
}
} // namespace

bool ExternalBrowser::Open(const QUrl& url)
{
    const bool started = launcher() ? launcher()(url) : QDesktopServices::openUrl(url);
    if (!started) {
        MessageBox::Show(QStringLiteral("No web browser could be started to open this address:\n"
                                        "%1\n\nCopy it into your web browser instead.")
                             .arg(url.toString()),
                         MB_OK | MB_ICONWARNING);
    }
    return started;
}

ExternalBrowser::Launcher ExternalBrowser::SetLauncher(Launcher value)
{
    return std::exchange(launcher(), std::move(value));
}
