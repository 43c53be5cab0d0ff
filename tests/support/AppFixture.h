// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "TestProfile.h"

#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class CFavoritesStore;
class CKestrinNewsReaderApp;
class CKestrinNewsReaderDoc;
class CKestrinNewsReaderView;
class CLeftView;
class CMainFrame;

// A program started for real in a temporary working directory that holds the installed
// data files, with settings in a temporary file.
class AppFixture
{
public:
    struct Options
    {
        bool withSkins = true;
        bool withFavorites = true;
        bool withHelp = true;
        QStringList arguments;
        // A folder inside the temporary directory to run in, when not empty.
        QString workDirName;
        // Run in the current directory as the test prepared it; nothing is laid out.
        bool inCurrentDirectory = false;
    };

    AppFixture();
    explicit AppFixture(const Options& options);
    ~AppFixture();

    AppFixture(const AppFixture&) = delete;
    AppFixture& operator=(const AppFixture&) = delete;

    // Settings to store before start().
    void setInt(const char* key, int value);
    void setString(const char* key, const QString& value);
    [[nodiscard]] bool hasValue(const char* key) const;
    [[nodiscard]] int intValue(const char* key) const;
    [[nodiscard]] QString stringValue(const char* key) const;

    // Runs the start-up; false when it failed.
    bool start();
    // Ends the program and starts it again, in the same folder with the same settings.
    bool restart();

    [[nodiscard]] QString workDir() const { return m_workDir; }
    [[nodiscard]] CKestrinNewsReaderApp& app() const { return *m_app; }
    [[nodiscard]] CMainFrame* frame() const;
    [[nodiscard]] CKestrinNewsReaderDoc* document() const;
    [[nodiscard]] CKestrinNewsReaderView* browser() const;
    [[nodiscard]] CLeftView* tree() const;
    // The program's favorites, and what they hold now as "title|url" rows.
    [[nodiscard]] CFavoritesStore& favorites() const;
    [[nodiscard]] QStringList favoriteRows() const;

    // Runs the update handlers of every menu, as before each shows.
    void updateMenus() const;
    // Whether the menu entry of a command shows its check mark now.
    [[nodiscard]] bool isChecked(int id) const;

    // The directory with the program's data files in the source tree.
    [[nodiscard]] static QString sourceDataDir();
    [[nodiscard]] static QString testDataDir();

private:
    QTemporaryDir m_dir;
    QString m_workDir;
    QString m_previousDir;
    TestProfile m_profile;
    Options m_options;
    std::unique_ptr<CKestrinNewsReaderApp> m_app;
};
