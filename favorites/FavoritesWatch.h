// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

// Tells when a file may have been changed by someone else: it watches the file and its
// folder (a file replaced by a rename drops a watch on the file itself) and reports a burst
// of changes once, a moment after its first change.
class FavoritesWatch : public QObject
{
    Q_OBJECT

public:
    // What tells two states of a file apart without reading it.
    struct Identity
    {
        bool exists = false;
        qint64 size = 0;
        qint64 modifiedNs = 0;
        quint64 device = 0;
        quint64 inode = 0;
        bool operator==(const Identity&) const = default;
    };
    [[nodiscard]] static Identity IdentityOf(const QString& path);

    // How long after the first change of a burst the watch reports.
    static constexpr int kSettleMs = 250;

    explicit FavoritesWatch(QString path, QObject* parent = nullptr);

    void start();
    [[nodiscard]] bool isActive() const { return m_active; }
    // Reports again a moment from now: the file could not be looked at yet.
    void retrySoon();

signals:
    // The file may differ from when it was last looked at.
    void settled();

private:
    void onChange();
    void watchFile();

    QString m_path;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    bool m_active = false;
};
