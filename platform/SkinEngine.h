// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "SplitInfo.h"

#include <QString>

// Re-draws the program's windows from a skin file: a Qt style sheet. Paths are relative
// to the current directory and may use '\' as the separator.
class SkinEngine
{
public:
    // Applies the skin as the first one, with the first window when there is none yet;
    // 1 on success, 0 when the file can't be read.
    static int InitializeSkin(const char* path);
    // Switches to another skin; on failure the current look stays. 1 on success, 0 else.
    static int LoadSkin(const char* path);
    // Removes every skin; the program goes on with the platform's own look.
    static int ExitSkin();
    // The engine asks this callback for the splitter layout whenever it applies a skin,
    // and at once when a skin is already on.
    static void GetSplitterInfo(SplitInfoCallback callback);

    // The sheet now applied (empty when none), and the path it came from.
    [[nodiscard]] static QString CurrentStyleSheet();
    [[nodiscard]] static QString CurrentSkinPath();
    // Resolves a skin path against the current directory, '\' taken as the separator.
    [[nodiscard]] static QString ResolvePath(const char* path);

private:
    enum class When
    {
        Now,
        WithFirstWindow
    };
    static int Apply(const char* path, When when);
    static void Refresh();
};

// The library's entry points.
inline int InitializeSkin(const char* path)
{
    return SkinEngine::InitializeSkin(path);
}
inline int LoadSkin(const char* path)
{
    return SkinEngine::LoadSkin(path);
}
inline int ExitSkin()
{
    return SkinEngine::ExitSkin();
}
inline void GetSplitterInfo(SplitInfoCallback callback)
{
    SkinEngine::GetSplitterInfo(callback);
}
