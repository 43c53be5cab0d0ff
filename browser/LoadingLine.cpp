// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "LoadingLine.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>

namespace {
constexpr int kHeight = 3;
// Some of the line shows at once, before the first bytes: the click was heard.
constexpr int kFirstPercent = 5;
} // namespace

LoadingLine::LoadingLine(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("LoadingLine"));
    setAccessibleName(QStringLiteral("Page loading"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    parent->installEventFilter(this);
    FitToParent();
    hide();
}

void LoadingLine::SetProgress(int percent)
{
    m_percent = std::clamp(percent, 0, 100);
    update();
}

bool LoadingLine::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && event->type() == QEvent::Resize)
        FitToParent();
    return QWidget::eventFilter(watched, event);
}

void LoadingLine::FitToParent()
{
    setGeometry(0, 0, parentWidget()->width(), kHeight);
}

void LoadingLine::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int shown = std::max(m_percent, kFirstPercent);
    painter.fillRect(QRect(0, 0, width() * shown / 100, height()),
                     palette().color(QPalette::Highlight));
}
