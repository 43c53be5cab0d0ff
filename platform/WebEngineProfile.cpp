// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "WebEngineProfile.h"

#include "PageSkin.h"

#include <QCoreApplication>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace {
const QString kPageSkinScript = QStringLiteral("kestrin-page-skin");

// Every page of the profile names the skin as it starts, before its style sheet is read, so
// the program's own pages are never drawn in the wrong colours.
void putPageSkinScript(QWebEngineProfile* profile)
{
    QWebEngineScriptCollection* scripts = profile->scripts();
    for (const QWebEngineScript& old : scripts->find(kPageSkinScript))
        scripts->remove(old);
    QWebEngineScript script;
    script.setName(kPageSkinScript);
    script.setSourceCode(PageSkin::Instance().script());
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setRunsOnSubFrames(false);
    scripts->insert(script);
}
} // namespace

QWebEngineProfile* WebEngineProfile::Shared()
{
    // Owned by the application object, so it goes after every page that uses it.
    static QWebEngineProfile* profile = [] {
        auto* value = new QWebEngineProfile(QStringLiteral("KestrinNewsReader"), qApp);
        value->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);
        value->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
        putPageSkinScript(value);
        QObject::connect(&PageSkin::Instance(), &PageSkin::changed, value,
                         [value] { putPageSkinScript(value); });
        return value;
    }();
    return profile;
}
