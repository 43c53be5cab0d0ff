// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "TestProfile.h"

TestProfile::TestProfile() : m_dir(std::make_shared<QTemporaryDir>()) {}

QString TestProfile::path() const
{
    return m_dir->filePath(QStringLiteral("settings.ini"));
}

std::unique_ptr<Profile> TestProfile::open() const
{
    return std::make_unique<Profile>(path());
}

WinApp::ProfileFactory TestProfile::factory() const
{
    auto dir = m_dir;
    return [dir](const QString&, const QString&) {
        return std::make_unique<Profile>(dir->filePath(QStringLiteral("settings.ini")));
    };
}
