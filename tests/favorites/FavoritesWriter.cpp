// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

// Adds favorites to the Favorites.xml of a folder as a second copy of the program would,
// printing one line per add, so that tests can run writers side by side or stop one at
// any moment. Arguments: folder, title prefix, number of adds.
#include "favorites/CFavoritesStore.h"
#include "favorites/CXmlDocument.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 4) {
        std::fprintf(stderr, "usage: favorites_writer FOLDER PREFIX COUNT\n");
        return 2;
    }
    CFavoritesStore store(QDir(arguments.at(1)).filePath(QStringLiteral("Favorites.xml")));
    const QString prefix = arguments.at(2);
    const int count = arguments.at(3).toInt();
    CXmlDocument::InitializeEngine();

    int refused = 0;
    for (int i = 0; i < count; ++i) {
        const QString number = QString::number(i);
        const FavoritesResult result =
            store.Update(CFavoritesStore::Add, prefix + QLatin1Char(' ') + number,
                         QStringLiteral("http://%1.example/%2").arg(prefix, number));
        const bool added = result.succeeded();
        if (!added)
            std::fprintf(stderr, "%s\n", qPrintable(result.reason));
        refused += added ? 0 : 1;
        std::printf("%s %d\n", added ? "added" : "refused", i);
        std::fflush(stdout);
    }
    return refused == 0 ? 0 : 1;
}
