// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "platform/Profile.h"
#include "platform/WinApp.h"

#include <QTemporaryDir>

#include <memory>

// A settings file in a temporary directory, never the user's real profile.
class TestProfile
{
public:
    TestProfile();

    [[nodiscard]] QString path() const;
    [[nodiscard]] std::unique_ptr<Profile> open() const;
    // A factory for an application object: every profile it opens is this file.
    [[nodiscard]] WinApp::ProfileFactory factory() const;

private:
    std::shared_ptr<QTemporaryDir> m_dir;
};
