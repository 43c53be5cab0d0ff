#include "ExternalBrowser.h"

#include "MessageBox.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

namespace {
ExternalBrowser::Launcher& launcher()
{
    static ExternalBrowser::Launcher value;
    return value;
}

void showNoBrowser(const QUrl& url)
{
    MessageBox::Show(QStringLiteral("No web browser could be started to open this address:\n"
                                    "%1\n\nCopy it into your web browser instead.")
                         .arg(url.toString()),
                     MB_OK | MB_ICONWARNING);
}

// xdg-open starts fine even when it then finds no browser at all, so its exit is watched
// rather than trusting the start. Without it, Qt's own way (a portal, the desktop's opener).
bool startSystemBrowser(const QUrl& url)
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return QDesktopServices::openUrl(url);
    auto* process = new QProcess(qApp);
    process->setProgram(opener);
    process->setArguments({url.toString(QUrl::FullyEncoded)});
    // Its list of every browser it tried is no use on the terminal.
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process,
                     [process, url](int exitCode, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if (status != QProcess::NormalExit || exitCode != 0)
                             showNoBrowser(url);
                     });
    process->start();
    if (process->waitForStarted())
        return true;
    process->deleteLater();
    return false;
}
} // namespace

bool ExternalBrowser::Open(const QUrl& url)
{
    const bool started = launcher() ? launcher()(url) : startSystemBrowser(url);
    if (!started)
        showNoBrowser(url);
    return started;
}

ExternalBrowser::Launcher ExternalBrowser::SetLauncher(Launcher value)
{
    return std::exchange(launcher(), std::move(value));
}
