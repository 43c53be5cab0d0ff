// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "Globals.h"

#include <QDir>

QString g_strAppDir;
QString g_strCurrentURL;

QString CurrentWorkingDirectory()
{
    const QString current = QDir::currentPath();
    return current.isEmpty() ? QStringLiteral("/") : current;
}
