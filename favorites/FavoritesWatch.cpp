// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FavoritesWatch.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

FavoritesWatch::Identity FavoritesWatch::IdentityOf(const QString& path)
{
    struct stat status = {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return {true, qint64(status.st_size),
            qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec,
            quint64(status.st_dev), quint64(status.st_ino)};
}

FavoritesWatch::FavoritesWatch(QString path, QObject* parent)
    : QObject(parent), m_path(QFileInfo(path).absoluteFilePath())
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, [this] {
        watchFile();
        emit settled();
    });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { onChange(); });
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this] { onChange(); });
}

void FavoritesWatch::start()
{
    if (m_active)
        return;
    m_active = true;
    m_watcher.addPath(QFileInfo(m_path).absolutePath());
    watchFile();
}

void FavoritesWatch::watchFile()
{
    // Written in place by some program: the folder does not change, the file does.
    if (!m_watcher.files().contains(m_path) && QFileInfo::exists(m_path))
        m_watcher.addPath(m_path);
}

void FavoritesWatch::onChange()
{
    // Not restarted by later changes: a file changed again and again is still looked at.
    if (!m_settle.isActive())
        m_settle.start();
}

void FavoritesWatch::retrySoon()
{
    m_settle.start();
}
