// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "StatusBar.h"

#include "LockKeys.h"
#include "PlainText.h"
#include "res/Resource.h"
#include "res/StringTable.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>

#include <optional>

StatusBar::StatusBar() = default;

namespace {
LockKeys::Key keyOf(int id)
{
    return id == ID_INDICATOR_CAPS  ? LockKeys::CapsLock
           : id == ID_INDICATOR_NUM ? LockKeys::NumLock
                                    : LockKeys::ScrollLock;
}

// The pane shows the key's short name or nothing; a screen reader says the key and its state.
QString spokenName(LockKeys::Key key, std::optional<bool> on)
{
    const QString name = key == LockKeys::CapsLock  ? QStringLiteral("Caps Lock")
                         : key == LockKeys::NumLock ? QStringLiteral("Num Lock")
                                                    : QStringLiteral("Scroll Lock");
    if (!on)
        return name;
    return name + (*on ? QStringLiteral(" on") : QStringLiteral(" off"));
}
} // namespace

bool StatusBar::Create(QWidget* parent, int id)
{
    if (!parent)
        return false;
    setParent(parent);
    setObjectName(QStringLiteral("statusBar%1").arg(id));
    setAccessibleName(QStringLiteral("Status bar"));
    qApp->installEventFilter(this);
    return true;
}

bool StatusBar::SetIndicators(std::span<const int> ids)
{
    if (ids.empty())
        return false;
    bool message = false;
    for (const int id : ids) {
        if (id == ID_SEPARATOR) {
            if (message)
                return false;
            message = true;
        } else if (StringTable::Load(id).isEmpty()) {
            return false;
        }
    }
    RemovePanes();
    m_ids = QList<int>(ids.begin(), ids.end());
    m_messageText = message ? StringTable::Load(AFX_IDS_IDLEMESSAGE) : QString();
    // A bar on show gets its panes now; a hidden one when it is first shown, which keeps
    // their cost out of a start-up that hides the bar.
    if (isVisible())
        CreatePanes();
    return true;
}

void StatusBar::CreatePanes()
{
    if (m_message || !m_indicators.isEmpty())
        return;
    for (const int id : std::as_const(m_ids)) {
        auto* label = new QLabel(this);
        if (id == ID_SEPARATOR) {
            m_message = label;
            // Lines name sites and favorites: never read as markup.
            label->setTextFormat(Qt::PlainText);
            label->setText(m_messageText);
            label->setToolTip(PlainText::ToolTip(m_messageToolTip));
            // Its name is the message itself.
            label->setAccessibleDescription(QStringLiteral("Status message"));
            addWidget(label, 1);
            continue;
        }
        const QString text = StringTable::Load(id);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(text) + 12);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        label->setObjectName(text);
        label->setAccessibleName(spokenName(keyOf(id), std::nullopt));
        addPermanentWidget(label);
        m_indicators.append({id, label});
    }
}

void StatusBar::RemovePanes()
{
    for (const auto& [id, label] : std::as_const(m_indicators))
        delete label;
    m_indicators.clear();
    delete m_message;
    m_message = nullptr;
}

void StatusBar::setVisible(bool visible)
{
    if (visible && !m_ids.isEmpty())
        CreatePanes();
    QStatusBar::setVisible(visible);
}

void StatusBar::SetMessage(const QString& text)
{
    if (!m_ids.contains(ID_SEPARATOR))
        return;
    m_messageText = text;
    if (m_message)
        m_message->setText(text);
}

QString StatusBar::message() const
{
    return m_messageText;
}

void StatusBar::SetMessageToolTip(const QString& text)
{
    m_messageToolTip = text;
    if (m_message)
        m_message->setToolTip(PlainText::ToolTip(text));
}

int StatusBar::paneCount() const
{
    return static_cast<int>(m_ids.size());
}

QString StatusBar::paneText(int index) const
{
    if (index < 0 || index >= m_ids.size())
        return {};
    const int id = m_ids.at(index);
    return id == ID_SEPARATOR ? m_messageText : StringTable::Load(id);
}

void StatusBar::UpdateIndicators()
{
    // Each key's state is a round trip to the display; a hidden bar shows none of them and
    // is brought up to date when it is shown.
    if (!isVisible())
        return;
    for (const auto& [id, label] : std::as_const(m_indicators)) {
        const LockKeys::Key key = keyOf(id);
        const bool on = LockKeys::IsOn(key);
        label->setText(on ? StringTable::Load(id) : QString());
        label->setAccessibleName(spokenName(key, on));
    }
}

void StatusBar::showEvent(QShowEvent* event)
{
    QStatusBar::showEvent(event);
    UpdateIndicators();
}

bool StatusBar::eventFilter(QObject* watched, QEvent* event)
{
    if (isVisible() &&
        (event->type() == QEvent::KeyRelease || event->type() == QEvent::WindowActivate)) {
        UpdateIndicators();
    }
    return QStatusBar::eventFilter(watched, event);
}
