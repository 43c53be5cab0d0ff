// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "Profile.h"

#include <QSettings>

namespace {
QString keyPath(const QString& section, const QString& key)
{
    return section + QLatin1Char('/') + key;
}
} // namespace

Profile::Profile(const QString& organization, const QString& application)
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             organization, application))
{}

Profile::Profile(const QString& iniFilePath)
    : m_settings(std::make_unique<QSettings>(iniFilePath, QSettings::IniFormat))
{}

Profile::~Profile() = default;

int Profile::GetProfileInt(const QString& section, const QString& key, int defaultValue) const
{
    refresh();
    bool ok = false;
    const int value = m_settings->value(keyPath(section, key)).toInt(&ok);
    return ok ? value : defaultValue;
}

QString Profile::GetProfileString(const QString& section, const QString& key,
                                  const QString& defaultValue) const
{
    refresh();
    const QVariant value = m_settings->value(keyPath(section, key));
    return value.isValid() ? value.toString() : defaultValue;
}

bool Profile::WriteProfileInt(const QString& section, const QString& key, int value)
{
    return write(keyPath(section, key), value);
}

bool Profile::WriteProfileString(const QString& section, const QString& key, const QString& value)
{
    return write(keyPath(section, key), value);
}

bool Profile::write(const QString& path, const QVariant& value)
{
    // A value stored already is not written again: each write waits for the disk, and the
    // window writes on every resize.
    if (m_batchDepth == 0)
        refresh(); // a batch reads the store once, when it opens
    const QVariant stored = m_settings->value(path);
    if (stored.isValid() && stored.toString() == value.toString())
        return true;
    m_settings->setValue(path, value);
    return flush();
}

QString Profile::fileName() const
{
    return m_settings->fileName();
}

void Profile::refresh() const
{
    // Like the registry, the store is always current: a value changed by another process
    // is what the next read returns.
    m_settings->sync();
}

bool Profile::flush()
{
    if (m_batchDepth > 0)
        return true; // the batch writes when it closes
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}
