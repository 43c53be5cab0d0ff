// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

// The browser pane after a failure: a site that fails (500 and 404 without a page, an unknown
// host, a refused connection), then a slow one that answers after two seconds. Samples the pane
// every 10 ms while the slow site loads and prints, for each kind of failure, how long the
// engine's own error page for the previous failure stayed on show: the engine's page on top
// (not the pane's own page) while its document is still the one the failure left, with text.
//
// Everything is served on 127.0.0.1; the unknown host is made unknown by the engine's resolver
// rules, so no name is looked up.
//
// Usage: error_page_benchmark [--rounds N]

#include "browser/CKestrinNewsReaderView.h"
#include "platform/Profile.h"
#include "platform/WebEngineSandbox.h"
#include "support/BrowserSteps.h"
#include "support/ScriptedHttpServer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>

#include <cstdio>
#include <functional>

namespace {
constexpr int kSlowMs = 2000;
constexpr int kSampleMs = 10;
constexpr int kTimeoutMs = 20000;

bool waitFor(const std::function<bool()>& condition)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > kTimeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

struct Failure
{
    const char* name;
    QString url;
};
} // namespace

int main(int argc, char* argv[])
{
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") +
                " --host-resolver-rules=\"MAP *.invalid ~NOTFOUND\" --disable-gpu");
    WebEngineSandbox::ConfigureForCurrentUser();
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    int rounds = 3;
    const QStringList arguments = app.arguments();
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--rounds"));
        at >= 0 && at + 1 < arguments.size())
        rounds = std::max(1, arguments.at(at + 1).toInt());

    ScriptedHttpServer server;
    if (!server.start()) {
        std::fprintf(stderr, "no local server\n");
        return 1;
    }
    int slowCount = 0;
    server.setHandler([](const ScriptedHttpServer::Request& request) {
        if (request.path.startsWith("/slow")) {
            ScriptedHttpServer::Response response;
            response.delayMs = kSlowMs;
            response.headers.append(qMakePair(QByteArray("Content-Type"), QByteArray("text/html")));
            response.body = "<html><head><title>Slow Paper</title></head><body>News</body></html>";
            return response;
        }
        // An error without a page of the site's own.
        ScriptedHttpServer::Response response;
        response.status = request.path == "/500" ? 500 : 404;
        return response;
    });
    const QList<Failure> failures{
        {"HTTP 500 without a page", server.url(QStringLiteral("/500"))},
        {"HTTP 404 without a page", server.url(QStringLiteral("/404"))},
        {"unknown host", QStringLiteral("http://no-such-host.invalid/")},
        {"connection refused",
         QStringLiteral("http://127.0.0.1:%1/").arg(ScriptedHttpServer::UnusedPort())},
    };

    QTemporaryDir dir;
    Profile profile(dir.filePath(QStringLiteral("settings.ini")));
    CKestrinNewsReaderView view(profile);
    view.resize(800, 600);
    view.show();
    view.EnsureEngine();
    view.SetSilent(true);

    std::printf("%-26s %8s %14s\n", "failure, then a slow site", "rounds", "error page ms");
    double total = 0;
    for (const Failure& failure : failures) {
        double shownMs = 0;
        for (int round = 0; round < rounds; ++round) {
            view.NavigateTo(failure.url);
            if (!waitFor([&] { return view.isShowingNotice(); })) {
                std::fprintf(stderr, "%s: no page of our own\n", failure.name);
                return 1;
            }
            // What the engine drew for the failure, behind our page.
            const bool engineDrewText = !BrowserSteps::PlainText(view.page()).isEmpty();
            view.NavigateTo(server.url(QStringLiteral("/slow%1").arg(++slowCount)));
            // Each sample asks the engine's document for its text: until the slow site
            // commits, that is still the failure's page.
            int asked = 0;
            int answered = 0;
            QElapsedTimer clock;
            clock.start();
            qint64 last = 0;
            while (view.page()->title() != QLatin1String("Slow Paper") &&
                   clock.elapsed() < kTimeoutMs) {
                QEventLoop tick;
                QTimer::singleShot(kSampleMs, &tick, &QEventLoop::quit);
                tick.exec();
                const double sinceLast = double(clock.elapsed() - last);
                last = clock.elapsed();
                if (!engineDrewText || view.isShowingNotice())
                    continue;
                ++asked;
                view.page()->toPlainText([&, sinceLast](const QString& text) {
                    ++answered;
                    if (!text.trimmed().isEmpty() && !text.contains(QLatin1String("News")))
                        shownMs += sinceLast;
                });
            }
            waitFor([&] { return answered == asked && !view.isLoading(); });
        }
        total += shownMs;
        std::printf("%-26s %8d %14.0f\n", failure.name, rounds, shownMs / rounds);
    }
    std::printf("%-26s %8s %14.0f\n", "all kinds, per round", "", total / rounds);
    return 0;
}
