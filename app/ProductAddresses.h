// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QString>

// The default home page: a start page built into the program, so it opens offline.
inline const QString kDefaultHomePageUrl = QStringLiteral("qrc:/res/start/start.html");
// The product's page on the publisher's site, opened in the user's own web browser.
inline const QString kProductPageUrl = QStringLiteral("https://www.kestrinsoft.com/newsreader/");
