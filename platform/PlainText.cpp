// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "PlainText.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QTextDocument>
#include <QToolTip>

namespace {
class ToolTipsAsText : public QObject
{
public:
    explicit ToolTipsAsText(QAbstractItemView* view) : QObject(view), m_view(view) {}

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        // Only tooltips are looked at: other events also come while the view is destroyed.
        if (event->type() != QEvent::ToolTip)
            return false;
        const auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = m_view->indexAt(help->pos());
        const QString text = index.data(Qt::ToolTipRole).toString();
        if (text.isEmpty()) {
            QToolTip::hideText();
            return true;
        }
        QToolTip::showText(help->globalPos(), PlainText::ToolTip(text), m_view->viewport(),
                           m_view->visualRect(index));
        return true;
    }

private:
    QAbstractItemView* m_view;
};
} // namespace

QString PlainText::ToolTip(const QString& text)
{
    if (text.isEmpty())
        return text;
    return Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal);
}

void PlainText::ShowToolTipsAsText(QAbstractItemView* view)
{
    view->viewport()->installEventFilter(new ToolTipsAsText(view));
}
