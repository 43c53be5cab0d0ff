#include "Globals.h"

#include <QDir>

QString g_strAppDir;
QString g_strCurrentURL;

QString CurrentWorkingDirectory()
{
    const QString current = QDir::currentPath();
    return current.isEmpty() ? QStringLiteral("/") : current;
}
