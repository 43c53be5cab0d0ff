// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QString>

#include <functional>

// The framework's file chooser for Open and Save.
class FileDialog
{
public:
    enum class Mode
    {
        Open,
        Save
    };
    // Answers a chooser instead of the user: the chosen path, or empty for Cancel.
    using Hook = std::function<QString(Mode mode, const QString& suggestedName)>;

    [[nodiscard]] static QString GetOpenFileName();
    [[nodiscard]] static QString GetSaveFileName(const QString& suggestedName);
    // The same for files of one kind, filter as QFileDialog takes it ("Pages (*.html)");
    // a hook is handed the directory or the suggested path.
    [[nodiscard]] static QString GetOpenFileName(const QString& title, const QString& directory,
                                                 const QString& filter);
    [[nodiscard]] static QString GetSaveFileName(const QString& title, const QString& suggestedPath,
                                                 const QString& filter);

    static Hook SetHook(Hook hook);
};
