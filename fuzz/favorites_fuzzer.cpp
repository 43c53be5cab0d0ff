// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

// libFuzzer entry: every input is a Favorites.xml put through the store's checks; a broken
// promise aborts the run with the reason, and the input is kept as a reproducer.
#include "FavoritesFuzzCheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {
// Memory-backed when there is one: every change is synced to disk.
QString WorkFolderBase()
{
    const QString shm = QStringLiteral("/dev/shm");
    return QFileInfo(shm).isWritable() ? shm : QDir::tempPath();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int argc = 1;
    static char name[] = "favorites_fuzzer";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    static QTemporaryDir folder(WorkFolderBase() + QStringLiteral("/kestrin-fuzz-XXXXXX"));
    static FavoritesFuzzCheck check(folder.path());

    const QString fault =
        check.Run(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!fault.isEmpty()) {
        std::fprintf(stderr, "favorites fault: %s\n", qPrintable(fault));
        std::abort();
    }
    return 0;
}
