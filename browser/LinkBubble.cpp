// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "LinkBubble.h"

#include <QEvent>
#include <QUrl>

namespace {
// Long addresses are cut in the middle, keeping their start and their end.
constexpr int kWidthPercent = 60;
} // namespace

LinkBubble::LinkBubble(QWidget* parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("LinkBubble"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setTextFormat(Qt::PlainText);
    setAutoFillBackground(true);
    setFrameShape(QFrame::StyledPanel);
    setContentsMargins(4, 1, 4, 1);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    parent->installEventFilter(this);
    hide();
}

void LinkBubble::ShowAddress(const QString& url)
{
    m_address = url;
    if (url.isEmpty()) {
        hide();
        return;
    }
    Place();
    show();
    raise();
}

bool LinkBubble::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && event->type() == QEvent::Resize && !m_address.isEmpty())
        Place();
    return QLabel::eventFilter(watched, event);
}

void LinkBubble::Place()
{
    const QWidget* pane = parentWidget();
    const QMargins margins = contentsMargins();
    const int frame = 2 * frameWidth() + margins.left() + margins.right();
    const int widest = pane->width() * kWidthPercent / 100 - frame;
    // Shown as the user would type it: spaces and accents, not percent signs.
    const QString shown = QUrl(m_address).toDisplayString();
    setText(fontMetrics().elidedText(shown.isEmpty() ? m_address : shown, Qt::ElideMiddle,
                                     std::max(widest, 0)));
    adjustSize();
    move(0, pane->height() - height());
}
