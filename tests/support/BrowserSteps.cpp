// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "BrowserSteps.h"

#include "AppFixture.h"
#include "catalog/CLeftView.h"
#include "frame/CMainFrame.h"

#include <QPointer>
#include <QTest>
#include <QWebEnginePage>

#include <memory>

QVariant BrowserSteps::RunScript(QWebEnginePage* page, const QString& script)
{
    struct Result
    {
        bool done = false;
        QVariant value;
    };
    auto result = std::make_shared<Result>();
    page->runJavaScript(script, [result](const QVariant& value) {
        result->value = value;
        result->done = true;
    });
    return QTest::qWaitFor([&] { return result->done; }, 15000) ? result->value : QVariant();
}

QString BrowserSteps::PlainText(QWebEnginePage* page)
{
    struct Result
    {
        bool done = false;
        QString text;
    };
    auto result = std::make_shared<Result>();
    page->toPlainText([result](const QString& text) {
        result->text = text;
        result->done = true;
    });
    return QTest::qWaitFor([&] { return result->done; }, 15000) ? result->text.trimmed()
                                                                : QStringLiteral("(no answer)");
}

bool BrowserSteps::WriteFavorites(const AppFixture& fixture, const TestFiles::Records& records)
{
    return TestFiles::Write(QDir(fixture.workDir()).filePath(QStringLiteral("Favorites.xml")),
                            TestFiles::FavoritesXml(records));
}

bool BrowserSteps::SelectFavorite(const AppFixture& fixture, int row)
{
    QTreeWidgetItem* favorites = fixture.tree()->topLevelItem(0)->child(0);
    if (!favorites || row >= favorites->childCount())
        return false;
    fixture.tree()->setCurrentItem(favorites->child(row));
    return true;
}

bool BrowserSteps::FocusIn(const AppFixture& fixture, QWidget* widget)
{
    fixture.frame()->activateWindow();
    if (!QTest::qWaitForWindowActive(fixture.frame()))
        return false;
    widget->setFocus(Qt::OtherFocusReason);
    return QTest::qWaitFor([widget] {
        return widget->hasFocus() || widget->isAncestorOf(QApplication::focusWidget());
    });
}

CaptionLog::CaptionLog(QWidget* window)
{
    m_captions.append(window->windowTitle());
    connect(window, &QWidget::windowTitleChanged, this, [this](const QString& title) {
        if (m_captions.isEmpty() || m_captions.last() != title)
            m_captions.append(title);
    });
}
