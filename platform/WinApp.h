// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "CommandTarget.h"
#include "Profile.h"

#include <QStringList>

#include <functional>
#include <memory>

class Document;
class FrameWindow;
class SingleDocTemplate;

// The framework's application object: where the profile lives, the document template,
// the standard file commands and the recent-file list.
class WinApp : public CommandTarget
{
public:
    using ProfileFactory =
        std::function<std::unique_ptr<Profile>(const QString& organization, const QString& app)>;

    // appName names the profile; profileFactory decides where it is stored.
    WinApp(QString appName, ProfileFactory profileFactory);
    ~WinApp() override;

    WinApp(const WinApp&) = delete;
    WinApp& operator=(const WinApp&) = delete;

    // True when the main window is up; false ends the process.
    virtual bool InitInstance() = 0;
    virtual int ExitInstance() { return 0; }

    [[nodiscard]] Profile& profile();
    [[nodiscard]] QString appName() const { return m_appName; }
    [[nodiscard]] FrameWindow* mainWindow() const;
    [[nodiscard]] SingleDocTemplate* docTemplate() const { return m_template.get(); }
    [[nodiscard]] QStringList recentFileList() const { return m_recentFiles; }

protected:
    void SetRegistryKey(const QString& organization);
    void LoadStdProfileSettings(int maxRecentFiles);
    void AddDocTemplate(std::unique_ptr<SingleDocTemplate> docTemplate);
    // The framework's command-line handling: a file argument is opened, else a new document.
    bool ProcessShellCommand(const QStringList& arguments);
    // Destroys the template with its document and frame, before what the frame uses goes.
    void ReleaseDocTemplate();

    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    void OnAppExit();

private:
    Document* OpenDocumentFile(const QString& path);
    void AddToRecentFileList(const QString& path);

    QString m_appName;
    ProfileFactory m_profileFactory;
    std::unique_ptr<Profile> m_profile;
    std::unique_ptr<SingleDocTemplate> m_template;
    QStringList m_recentFiles;
    int m_maxRecentFiles = 0;
};
