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

    static Hook SetHook(Hook hook);
};
