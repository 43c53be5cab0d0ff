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
    m_settings->setValue(keyPath(section, key), value);
    return flush();
}

bool Profile::WriteProfileString(const QString& section, const QString& key, const QString& value)
{
    m_settings->setValue(keyPath(section, key), value);
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
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}
