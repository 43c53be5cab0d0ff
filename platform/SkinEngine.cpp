// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "SkinEngine.h"

#include "PageSkin.h"
#include "platform/files/RegularFile.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

namespace {
// Style sheets run to a few dozen kilobytes.
constexpr qint64 kMaxSkinBytes = 4 * 1024 * 1024;

struct State
{
    QString skinSheet; // the skin file as read
    QString applied;   // what the application now carries
    QString path;
    SplitInfoCallback callback = nullptr;
    // Read, to be applied together with the splitter rules once the frame hands them over.
    bool pending = false;
};

State& state()
{
    static State value;
    return value;
}

// The frame's splitter bar keeps the width the frame reports, whatever the skin draws on it.
QString splitterRules()
{
    if (!state().callback)
        return {};
    SplitInfo info;
    info.engineTag = static_cast<std::int32_t>(sizeof(SplitInfo));
    state().callback(info);
    if (info.cxSplitter <= 0 && info.cySplitter <= 0)
        return {};
    return QStringLiteral("\nQSplitter::handle:horizontal { width: %1px; }\n"
                          "QSplitter::handle:vertical { height: %2px; }\n")
        .arg(info.cxSplitter)
        .arg(info.cySplitter);
}
} // namespace

QString SkinEngine::ResolvePath(const char* path)
{
    QString relative = QString::fromLocal8Bit(path);
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir::current().absoluteFilePath(relative);
}

int SkinEngine::Apply(const char* path, When when)
{
    if (!path)
        return 0;
    // Skins live in the user's folder: a pipe or a device there must not hold up the start.
    const QString file = ResolvePath(path);
    const RegularFile::Contents contents = RegularFile::Read(file, kMaxSkinBytes);
    if (!contents.ok())
        return 0;
    state().skinSheet = QString::fromUtf8(contents.bytes);
    state().path = file;
    // The program's own pages go with the windows: named after the file, "night" for Night.ssk.
    PageSkin::Instance().SetName(QFileInfo(state().path).baseName().toLower());
    // A sheet applied before the frame's splitter rules are known would be parsed, and
    // every widget made meanwhile styled, twice. With no window yet, it waits for the
    // frame; a program that has no such frame gets it as soon as events run, before any
    // window is drawn.
    if (when == When::WithFirstWindow && !state().callback &&
        QApplication::allWidgets().isEmpty()) {
        state().pending = true;
        QTimer::singleShot(0, qApp, [] {
            if (state().pending)
                Refresh();
        });
        return 1;
    }
    Refresh();
    return 1;
}

void SkinEngine::Refresh()
{
    state().pending = false;
    if (state().skinSheet.isEmpty() && state().path.isEmpty())
        return;
    state().applied = state().skinSheet + splitterRules();
    if (qApp)
        qApp->setStyleSheet(state().applied);
}

int SkinEngine::InitializeSkin(const char* path)
{
    return Apply(path, When::WithFirstWindow);
}

int SkinEngine::LoadSkin(const char* path)
{
    return Apply(path, When::Now);
}

int SkinEngine::ExitSkin()
{
    state().pending = false;
    state().skinSheet.clear();
    state().applied.clear();
    state().path.clear();
    PageSkin::Instance().SetName(QString());
    if (qApp)
        qApp->setStyleSheet(QString());
    return 1;
}

void SkinEngine::GetSplitterInfo(SplitInfoCallback callback)
{
    state().callback = callback;
    Refresh();
}

QString SkinEngine::CurrentStyleSheet()
{
    return state().applied;
}

QString SkinEngine::CurrentSkinPath()
{
    return state().path;
}
