// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QString>

#include <memory>

class QSettings;
class QVariant;

// Named value with its default, so a key never travels without the value it falls back to.
struct IntSetting
{
    const char* key;
    int defaultValue;
};

struct StringSetting
{
    const char* key;
    const char* defaultValue;
};
// A setting that holds one of an enum's values, stored as its number. A number the enum
// does not name is read as it is: the code that uses it decides what it means.
template <class Enum> struct ModeSetting
{
    const char* key;
    Enum defaultValue;
};

// The application's persistent profile: sections of integer and string values.
// Every write reaches the disk at once, so a crash never loses a setting.
class Profile
{
public:
    // The native settings store of the current user for organisation/application.
    Profile(const QString& organization, const QString& application);
    // A settings file at an explicit path (tests, portable use).
    explicit Profile(const QString& iniFilePath);
    ~Profile();

    Profile(const Profile&) = delete;
    Profile& operator=(const Profile&) = delete;

    [[nodiscard]] int GetProfileInt(const QString& section, const QString& key,
                                    int defaultValue) const;
    [[nodiscard]] QString GetProfileString(const QString& section, const QString& key,
                                           const QString& defaultValue = {}) const;
    bool WriteProfileInt(const QString& section, const QString& key, int value);
    bool WriteProfileString(const QString& section, const QString& key, const QString& value);

    [[nodiscard]] int GetInt(const QString& section, const IntSetting& setting) const
    {
        return GetProfileInt(section, QString::fromLatin1(setting.key), setting.defaultValue);
    }
    [[nodiscard]] QString GetString(const QString& section, const StringSetting& setting) const
    {
        return GetProfileString(section, QString::fromLatin1(setting.key),
                                QString::fromUtf8(setting.defaultValue));
    }
    template <class Enum>
    [[nodiscard]] Enum GetMode(const QString& section, const ModeSetting<Enum>& setting) const
    {
        return static_cast<Enum>(GetProfileInt(section, QString::fromLatin1(setting.key),
                                               static_cast<int>(setting.defaultValue)));
    }
    bool Write(const QString& section, const IntSetting& setting, int value)
    {
        return WriteProfileInt(section, QString::fromLatin1(setting.key), value);
    }
    bool Write(const QString& section, const StringSetting& setting, const QString& value)
    {
        return WriteProfileString(section, QString::fromLatin1(setting.key), value);
    }
    template <class Enum>
    bool Write(const QString& section, const ModeSetting<Enum>& setting, Enum value)
    {
        return WriteProfileInt(section, QString::fromLatin1(setting.key), static_cast<int>(value));
    }

    [[nodiscard]] QString fileName() const;

    // Writes made while a batch is open reach the disk together when the last one closes:
    // for values that belong together, and one disk write instead of many.
    class Batch
    {
    public:
        explicit Batch(Profile& profile) : m_profile(profile)
        {
            if (m_profile.m_batchDepth++ == 0)
                m_profile.refresh();
        }
        ~Batch()
        {
            if (--m_profile.m_batchDepth == 0)
                m_profile.flush();
        }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        Profile& m_profile;
    };

private:
    bool write(const QString& path, const QVariant& value);
    bool flush();
    void refresh() const;

    std::unique_ptr<QSettings> m_settings;
    int m_batchDepth = 0;
};
