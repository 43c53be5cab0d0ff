// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "BrowserNotice.h"

#include <QFile>

namespace {
// Relative to the notice pages' own address, qrc:/res/notice/.
const QString kTryAgain = QStringLiteral("try-again");
const QString kOpenInYourBrowser = QStringLiteral("open-in-your-browser");

QString escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

QString button(const QString& action, const QString& label, bool primary)
{
    return QStringLiteral("<a class=\"button%1\" href=\"%2\">%3</a>")
        .arg(primary ? QString() : QStringLiteral(" second"), action, escaped(label));
}

QString fill(const QString& title, const QString& heading, const QUrl& address,
             const QString& reason, const QString& note, const QString& buttons)
{
    QFile file(QStringLiteral(":/res/notice/notice.html"));
    QString html = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    html.replace(QLatin1String("{{title}}"), escaped(title));
    html.replace(QLatin1String("{{heading}}"), escaped(heading));
    html.replace(QLatin1String("{{address}}"), escaped(address.toDisplayString()));
    html.replace(QLatin1String("{{reason}}"), escaped(reason));
    html.replace(QLatin1String("{{note}}"),
                 note.isEmpty() ? QString()
                                : QStringLiteral("<p class=\"note\">%1</p>").arg(escaped(note)));
    html.replace(QLatin1String("{{buttons}}"), buttons);
    return html;
}

QString httpStatusText(int code)
{
    switch (code) {
    case 400:
        return QStringLiteral("it could not understand the request");
    case 401:
    case 403:
        return QStringLiteral("access to this page is not allowed");
    case 404:
    case 410:
        return QStringLiteral("this page does not exist there");
    case 429:
        return QStringLiteral("it is getting too many requests just now");
    case 500:
        return QStringLiteral("something went wrong on the site itself");
    case 502:
    case 504:
        return QStringLiteral("a server behind it did not answer in time");
    case 503:
        return QStringLiteral("it is unavailable for the moment");
    default:
        return QStringLiteral("it could not deliver this page");
    }
}
} // namespace

BrowserNotice::Page BrowserNotice::CouldNotOpen(const QString& siteName, const QUrl& address,
                                                const QWebEngineLoadingInfo& failure,
                                                const QString& note)
{
    const QString title = QStringLiteral("%1 could not be opened").arg(siteName);
    const QString buttons =
        button(kTryAgain, QStringLiteral("Try Again"), true) +
        button(kOpenInYourBrowser, QStringLiteral("Open in Your Browser"), false);
    return {title, fill(title, title, address, Reason(failure.errorDomain(), failure.errorCode()),
                        note, buttons)};
}

BrowserNotice::Page BrowserNotice::StoppedWorking(const QString& siteName, const QUrl& address)
{
    const QString title = QStringLiteral("%1 stopped working").arg(siteName);
    const QString reason = QStringLiteral(
        "The part of the browser that shows this page stopped unexpectedly. The rest of the "
        "program is fine; reload the page to see it again.");
    return {title, fill(title, title, address, reason, QString(),
                        button(kTryAgain, QStringLiteral("Reload"), true))};
}

BrowserNotice::Action BrowserNotice::ActionOf(const QUrl& link)
{
    if (link.scheme() != QLatin1String("qrc") ||
        !link.path().startsWith(QLatin1String("/res/notice/")))
        return Action::None;
    const QString name = link.fileName();
    if (name == kTryAgain)
        return Action::TryAgain;
    if (name == kOpenInYourBrowser)
        return Action::OpenInYourBrowser;
    return Action::None;
}

QString BrowserNotice::Reason(QWebEngineLoadingInfo::ErrorDomain domain, int code)
{
    if (domain == QWebEngineLoadingInfo::HttpStatusCodeDomain) {
        return QStringLiteral("The site answered, but %1 (error %2), and it sent no page to show.")
            .arg(httpStatusText(code))
            .arg(code);
    }
    if (domain == QWebEngineLoadingInfo::CertificateErrorDomain) {
        return QStringLiteral(
            "The site's security certificate could not be trusted, so no connection was made. "
            "The site may be set up wrongly, or someone may be in the way of the connection.");
    }
    switch (code) {
    case -105: // name not resolved
    case -137: // name resolution failed
        return QStringLiteral("The site's name could not be found. The address may be wrong, the "
                              "site may have closed, or this computer may be offline.");
    case -106: // internet disconnected
        return QStringLiteral("This computer is not connected to the internet.");
    case -102: // connection refused
        return QStringLiteral("The site refused the connection. It may be down for the moment.");
    case -100: // connection closed
    case -101: // connection reset
    case -103: // connection aborted
        return QStringLiteral("The connection to the site was broken off.");
    case -7:   // timed out
    case -118: // connection timed out
        return QStringLiteral("The site took too long to answer.");
    case -104: // connection failed
    case -109: // address unreachable
        return QStringLiteral("The site could not be reached from this network.");
    case -107: // SSL protocol error
    case -113: // SSL version or cipher mismatch
        return QStringLiteral("A secure connection to the site could not be made.");
    case -324: // empty response
        return QStringLiteral("The site closed the connection without sending anything.");
    case -310: // too many redirects
        return QStringLiteral("The site keeps sending the browser round in a circle of "
                              "redirections.");
    case -6: // file not found
        return QStringLiteral("There is no such file on this computer.");
    case -10: // access denied
        return QStringLiteral("The file could not be read: access to it was denied.");
    case -21: // network changed
        return QStringLiteral("The network connection changed while the page was loading.");
    case -20: // blocked by client
    case -27: // blocked by response
        return QStringLiteral("The site does not allow its page to be shown here.");
    case -312: // unsafe port
        return QStringLiteral("The address uses a port that browsers refuse for safety.");
    case -300: // invalid URL
        return QStringLiteral("The address is not a valid web address.");
    case -301: // disallowed scheme
    case -302: // unknown scheme
        return QStringLiteral("The address is of a kind this browser cannot open.");
    default:
        return QStringLiteral("The page could not be loaded (error %1).").arg(code);
    }
}
