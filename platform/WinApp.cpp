// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "WinApp.h"

#include "FileDialog.h"
#include "FrameWindow.h"
#include "PrintDialog.h"
#include "SingleDocTemplate.h"
#include "res/Resource.h"

#include <QFileInfo>
#include <QPrinter>

namespace {
const QString kRecentFileSection = QStringLiteral("Recent File List");
QString recentFileKey(int index)
{
    return QStringLiteral("File%1").arg(index + 1);
}
} // namespace

WinApp::WinApp(QString appName, ProfileFactory profileFactory)
    : m_appName(std::move(appName)), m_profileFactory(std::move(profileFactory))
{
    m_commandMap.on(ID_FILE_NEW, [this] { OnFileNew(); });
    m_commandMap.on(ID_FILE_OPEN, [this] { OnFileOpen(); });
    m_commandMap.on(ID_FILE_PRINT_SETUP, [this] { OnFilePrintSetup(); });
    m_commandMap.on(ID_APP_EXIT, [this] { OnAppExit(); });
}

WinApp::~WinApp() = default;

Profile& WinApp::profile()
{
    // Without a registry key the framework keeps settings under the application alone.
    if (!m_profile)
        m_profile = m_profileFactory(m_appName, m_appName);
    return *m_profile;
}

FrameWindow* WinApp::mainWindow() const
{
    return m_template ? m_template->frame() : nullptr;
}

void WinApp::SetRegistryKey(const QString& organization)
{
    m_profile = m_profileFactory(organization, m_appName);
}

void WinApp::LoadStdProfileSettings(int maxRecentFiles)
{
    m_maxRecentFiles = maxRecentFiles;
    m_recentFiles.clear();
    for (int i = 0; i < maxRecentFiles; ++i) {
        const QString path = profile().GetProfileString(kRecentFileSection, recentFileKey(i));
        if (!path.isEmpty())
            m_recentFiles.append(path);
    }
}

void WinApp::AddDocTemplate(std::unique_ptr<SingleDocTemplate> docTemplate)
{
    m_template = std::move(docTemplate);
}

bool WinApp::ProcessShellCommand(const QStringList& arguments)
{
    QString file;
    for (const QString& argument : arguments) {
        if (!argument.startsWith(QLatin1Char('-'))) {
            file = argument;
            break;
        }
    }
    return OpenDocumentFile(file) != nullptr;
}

Document* WinApp::OpenDocumentFile(const QString& path)
{
    if (!m_template)
        return nullptr;
    Document* document = m_template->OpenDocumentFile(path);
    if (document && !path.isEmpty())
        AddToRecentFileList(path);
    return document;
}

void WinApp::AddToRecentFileList(const QString& path)
{
    if (m_maxRecentFiles <= 0)
        return;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    m_recentFiles.removeAll(absolute);
    m_recentFiles.prepend(absolute);
    while (m_recentFiles.size() > m_maxRecentFiles)
        m_recentFiles.removeLast();
    for (int i = 0; i < m_maxRecentFiles; ++i) {
        profile().WriteProfileString(kRecentFileSection, recentFileKey(i), m_recentFiles.value(i));
    }
}

void WinApp::OnFileNew()
{
    OpenDocumentFile(QString());
}

void WinApp::OnFileOpen()
{
    const QString path = FileDialog::GetOpenFileName();
    if (!path.isEmpty())
        OpenDocumentFile(path);
}

void WinApp::OnFilePrintSetup()
{
    QPrinter printer;
    PrintDialog::Ask(printer, mainWindow());
}

void WinApp::OnAppExit()
{
    if (FrameWindow* frame = mainWindow())
        frame->close();
}

void WinApp::ReleaseDocTemplate()
{
    m_template.reset();
}
