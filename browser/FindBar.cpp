// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FindBar.h"

#include "platform/ClearButton.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>

namespace {
constexpr int kTypingPauseMs = 150;
} // namespace

FindBar::FindBar(QWidget* parent)
    : QWidget(parent), m_field(new QLineEdit(this)), m_result(new QLabel(this)),
      m_previous(new QToolButton(this)), m_next(new QToolButton(this)),
      m_close(new QToolButton(this))
{
    setObjectName(QStringLiteral("FindBar"));
    setAccessibleName(QStringLiteral("Find bar"));
    m_field->setObjectName(QStringLiteral("FindField"));
    m_field->setPlaceholderText(QStringLiteral("Find in page"));
    m_field->setAccessibleName(QStringLiteral("Find in page"));
    ClearButton::Enable(m_field);
    m_field->installEventFilter(this);
    m_result->setObjectName(QStringLiteral("FindResult"));
    m_previous->setText(QStringLiteral("\u2191"));
    m_previous->setToolTip(QStringLiteral("Previous match (Shift+Enter)"));
    m_previous->setAccessibleName(QStringLiteral("Previous match"));
    m_next->setText(QStringLiteral("\u2193"));
    m_next->setToolTip(QStringLiteral("Next match (Enter)"));
    m_next->setAccessibleName(QStringLiteral("Next match"));
    m_close->setText(QStringLiteral("\u2715"));
    m_close->setToolTip(QStringLiteral("Close (Esc)"));
    m_close->setAccessibleName(QStringLiteral("Close the find bar"));
    for (QToolButton* button : {m_previous, m_next, m_close}) {
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
    }

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(4);
    layout->addWidget(m_field, 1);
    layout->addWidget(m_result);
    layout->addWidget(m_previous);
    layout->addWidget(m_next);
    layout->addStretch(1);
    layout->addWidget(m_close);
    hide();

    // The words typed are looked for once the typing pauses.
    m_typingPause.setSingleShot(true);
    m_typingPause.setInterval(kTypingPauseMs);
    connect(&m_typingPause, &QTimer::timeout, this, [this] { Find(false); });
    connect(m_field, &QLineEdit::textEdited, this, [this] { m_typingPause.start(); });
    connect(m_previous, &QToolButton::clicked, this, [this] { Find(true); });
    connect(m_next, &QToolButton::clicked, this, [this] { Find(false); });
    connect(m_close, &QToolButton::clicked, this, &FindBar::Close);
}

void FindBar::Open()
{
    show();
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
    if (!m_field->text().isEmpty())
        Find(false);
}

void FindBar::Close()
{
    if (isHidden())
        return;
    hide();
    m_typingPause.stop();
    m_result->clear();
    emit findRequested(QString(), false);
    emit closed();
}

QString FindBar::text() const
{
    return m_field->text();
}

QString FindBar::resultText() const
{
    return m_result->text();
}

void FindBar::ShowResult(int active, int count)
{
    if (isHidden() || m_field->text().isEmpty()) {
        m_result->clear();
        return;
    }
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    m_result->setText(
        count == 0
            ? QStringLiteral("No matches")
            : QStringLiteral("%1 of %2").arg(english.toString(active), english.toString(count)));
}

void FindBar::Find(bool backward)
{
    // Words still waiting for the pause are looked for from the start, whatever the key.
    if (m_typingPause.isActive()) {
        m_typingPause.stop();
        backward = false;
    }
    if (m_field->text().isEmpty())
        m_result->clear();
    emit findRequested(m_field->text(), backward);
}

bool FindBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_field && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Find(key->modifiers().testFlag(Qt::ShiftModifier));
            return true;
        }
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            Close();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
