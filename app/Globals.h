// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QString>

// The working directory captured at start-up: where Favorites.xml and readme.htm live.
extern QString g_strAppDir;
// The address of the catalog item selected last; HomePage > Use Current stores it.
extern QString g_strCurrentURL;

// The working directory as the system reports it, or "/" when it cannot be read.
[[nodiscard]] QString CurrentWorkingDirectory();
