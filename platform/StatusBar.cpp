#include "StatusBar.h"

#include "LockKeys.h"
#include "res/Resource.h"
#include "res/StringTable.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>

StatusBar::StatusBar() = default;

bool StatusBar::Create(QWidget* parent, int id)
{
    if (!parent)
        return false;
    setParent(parent);
    setObjectName(QStringLiteral("statusBar%1").arg(id));
    qApp->installEventFilter(this);
    return true;
}

bool StatusBar::SetIndicators(std::span<const int> ids)
{
    if (ids.empty())
        return false;
    for (const int id : ids) {
        auto* label = new QLabel(this);
        if (id == ID_SEPARATOR) {
            if (m_message)
                return false;
            m_message = label;
            label->setText(StringTable::Load(AFX_IDS_IDLEMESSAGE));
            addWidget(label, 1);
            continue;
        }
        const QString text = StringTable::Load(id);
        if (text.isEmpty())
            return false;
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(text) + 12);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        label->setObjectName(text);
        addPermanentWidget(label);
        m_indicators.append({id, label});
    }
    UpdateIndicators();
    return true;
}

void StatusBar::SetMessage(const QString& text)
{
    if (m_message)
        m_message->setText(text);
}

QString StatusBar::message() const
{
    return m_message ? m_message->text() : QString();
}

int StatusBar::paneCount() const
{
    return static_cast<int>(m_indicators.size()) + (m_message ? 1 : 0);
}

QString StatusBar::paneText(int index) const
{
    if (m_message) {
        if (index == 0)
            return m_message->text();
        --index;
    }
    if (index < 0 || index >= m_indicators.size())
        return {};
    return StringTable::Load(m_indicators.at(index).first);
}

void StatusBar::UpdateIndicators()
{
    for (const auto& [id, label] : std::as_const(m_indicators)) {
        const LockKeys::Key key = id == ID_INDICATOR_CAPS  ? LockKeys::CapsLock
                                  : id == ID_INDICATOR_NUM ? LockKeys::NumLock
                                                           : LockKeys::ScrollLock;
        label->setText(LockKeys::IsOn(key) ? StringTable::Load(id) : QString());
    }
}

bool StatusBar::eventFilter(QObject* watched, QEvent* event)
{
    if (isVisible() &&
        (event->type() == QEvent::KeyRelease || event->type() == QEvent::WindowActivate)) {
        UpdateIndicators();
    }
    return QStatusBar::eventFilter(watched, event);
}
