// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "platform/WinApp.h"

#include <QStringList>

#include <memory>

class CFavoritesStore;

class CKestrinNewsReaderApp : public WinApp
{
public:
    // arguments: the command line without the program name.
    CKestrinNewsReaderApp(ProfileFactory profileFactory, QStringList arguments);
    ~CKestrinNewsReaderApp() override;

    bool InitInstance() override;
    int ExitInstance() override;

    // The user's favorites, which the frame hands to the panes and commands.
    [[nodiscard]] CFavoritesStore* favorites() const { return m_favorites.get(); }

private:
    void OnAppAbout();

    QStringList m_arguments;
    std::unique_ptr<CFavoritesStore> m_favorites;
};
