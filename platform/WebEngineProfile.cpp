#include "WebEngineProfile.h"

#include "PageSkin.h"

#include <QCoreApplication>
#include <QWebEngineProfile>

QWebEngineProfile* WebEngineProfile::Shared()
{
    // Owned by the application object, so it goes after every page that uses it.
    static QWebEngineProfile* profile = [] {
        auto* value = new QWebEngineProfile(QStringLiteral("KestrinNewsReader"), qApp);
        value->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);
        value->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
        PageSkin::Instance().Install(value);
        return value;
    }();
    return profile;
}
