// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

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
    // Links for mail, calls and text messages name what they are for.
    const QString scheme = url.scheme().toLower();
    const QString target = url.path();
    QString text;
    if (scheme == QLatin1String("mailto"))
        text = QStringLiteral("No e-mail program could be started to write to this address:\n"
                              "%1\n\nCopy it into your e-mail instead.")
                   .arg(target);
    else if (scheme == QLatin1String("tel"))
        text = QStringLiteral("No program could be started to call this number:\n%1").arg(target);
    else if (scheme == QLatin1String("sms"))
        text = QStringLiteral("No program could be started to send a text message to this "
                              "number:\n%1")
                   .arg(target);
    else
        text = QStringLiteral("No web browser could be started to open this address:\n"
                              "%1\n\nCopy it into your web browser instead.")
                   .arg(url.toString());
    MessageBox::Show(text, MB_OK | MB_ICONWARNING);
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
