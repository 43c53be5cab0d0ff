#pragma once

#include "LinkResult.h"

#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

class QNetworkAccessManager;

// Checks one address: HEAD first, GET when HEAD is refused or fails, redirects followed
// while they stay on the site, a server error asked once more. Finishes exactly once,
// unless aborted.
class LinkProbe : public QObject
{
    Q_OBJECT

public:
    struct Settings
    {
        int timeoutMs = 15000;
        int retryDelayMs = 1000;
        int maxRedirects = 10;
        QByteArray userAgent;
    };

    LinkProbe(QNetworkAccessManager& network, const QUrl& url, const Settings& settings,
              QObject* parent = nullptr);
    ~LinkProbe() override;

    void start();
    // Stops at once and finishes nothing.
    void abort();

signals:
    // reachedServer: some server on the address's way answered at all, which proves the
    // computer is online.
    void finished(const LinkResult& result, bool reachedServer);

private:
    enum class Method
    {
        Head,
        Get
    };

    void send(Method method);
    void onHeaders();
    void onStatus(int code);
    void onFinished();
    void onTimeout();
    void onAnswer(int status);
    void onNetworkError(QNetworkReply::NetworkError error);
    void dropReply();
    void finish(LinkResult::Status status, int httpStatus, const QString& error,
                const QString& newUrl = {});

    QNetworkAccessManager& m_network;
    const QUrl m_original;
    QUrl m_current;
    Settings m_settings;
    Method m_method = Method::Head;
    QPointer<QNetworkReply> m_reply;
    QTimer m_timeout;
    int m_redirects = 0;
    bool m_retriedServerError = false;
    bool m_reached = false;
    bool m_done = false;
};
