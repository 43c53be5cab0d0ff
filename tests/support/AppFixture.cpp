// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "AppFixture.h"

#include "FavoritesFolder.h"
#include "TestFiles.h"
#include "app/CKestrinNewsReaderApp.h"
#include "app/CKestrinNewsReaderDoc.h"
#include "app/Globals.h"
#include "app/SettingsKeys.h"
#include "favorites/CFavoritesStore.h"
#include "frame/CMainFrame.h"
#include "platform/SkinEngine.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>

namespace {
void copyTree(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    const QDir source(from);
    for (const QFileInfo& info :
         source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = QDir(to).filePath(info.fileName());
        if (info.isDir())
            copyTree(info.filePath(), target);
        else
            QFile::copy(info.filePath(), target);
    }
}

QString settingsKey(const char* key)
{
    return kSettingsSection + QLatin1Char('/') + QLatin1String(key);
}
} // namespace

AppFixture::AppFixture() : AppFixture(Options{}) {}

AppFixture::AppFixture(const Options& options)
    : m_previousDir(QDir::currentPath()), m_options(options)
{
    g_strAppDir.clear();
    g_strCurrentURL.clear();
    if (options.inCurrentDirectory) {
        m_workDir = m_previousDir;
        return;
    }
    m_workDir = options.workDirName.isEmpty() ? m_dir.path() : m_dir.filePath(options.workDirName);
    QDir().mkpath(m_workDir);
    const QDir work(m_workDir);
    const QDir data(sourceDataDir());
    if (options.withSkins)
        copyTree(data.filePath(QStringLiteral("Skin")), work.filePath(QStringLiteral("Skin")));
    if (options.withFavorites)
        QFile::copy(data.filePath(QStringLiteral("Favorites.xml")),
                    work.filePath(QStringLiteral("Favorites.xml")));
    if (options.withHelp)
        QFile::copy(data.filePath(QStringLiteral("readme.htm")),
                    work.filePath(QStringLiteral("readme.htm")));
    QDir::setCurrent(m_workDir);
}

AppFixture::~AppFixture()
{
    if (m_app) {
        m_app->ExitInstance();
        m_app.reset();
    }
    ExitSkin();
    QDir::setCurrent(m_previousDir);
    g_strAppDir.clear();
    g_strCurrentURL.clear();
}

void AppFixture::setInt(const char* key, int value)
{
    QSettings(m_profile.path(), QSettings::IniFormat).setValue(settingsKey(key), value);
}

void AppFixture::setString(const char* key, const QString& value)
{
    QSettings(m_profile.path(), QSettings::IniFormat).setValue(settingsKey(key), value);
}

bool AppFixture::hasValue(const char* key) const
{
    return QSettings(m_profile.path(), QSettings::IniFormat).contains(settingsKey(key));
}

int AppFixture::intValue(const char* key) const
{
    return QSettings(m_profile.path(), QSettings::IniFormat).value(settingsKey(key)).toInt();
}

QString AppFixture::stringValue(const char* key) const
{
    return QSettings(m_profile.path(), QSettings::IniFormat).value(settingsKey(key)).toString();
}

bool AppFixture::start()
{
    m_app = std::make_unique<CKestrinNewsReaderApp>(m_profile.factory(), m_options.arguments);
    return m_app->InitInstance();
}

bool AppFixture::restart()
{
    if (m_app) {
        m_app->ExitInstance();
        m_app.reset();
    }
    g_strAppDir.clear();
    g_strCurrentURL.clear();
    return start();
}

CMainFrame* AppFixture::frame() const
{
    return m_app ? static_cast<CMainFrame*>(m_app->mainWindow()) : nullptr;
}

CKestrinNewsReaderDoc* AppFixture::document() const
{
    return frame() ? frame()->document() : nullptr;
}

CKestrinNewsReaderView* AppFixture::browser() const
{
    return frame() ? frame()->browserView() : nullptr;
}

CLeftView* AppFixture::tree() const
{
    return frame() ? frame()->treeView() : nullptr;
}

void AppFixture::updateMenus() const
{
    for (QMenu* menu : frame()->menuBar()->findChildren<QMenu*>())
        frame()->UpdateMenu(menu);
}

bool AppFixture::isChecked(int id) const
{
    updateMenus();
    return frame()->menuAction(id)->isChecked();
}

CFavoritesStore& AppFixture::favorites() const
{
    return *m_app->favorites();
}

QStringList AppFixture::favoriteRows() const
{
    return FavoritesFolder::readRowsOf(favorites().GetFavoritesPath());
}

QString AppFixture::sourceDataDir()
{
    return TestFiles::SourceDataDir();
}

QString AppFixture::testDataDir()
{
    return TestFiles::TestDataDir();
}
