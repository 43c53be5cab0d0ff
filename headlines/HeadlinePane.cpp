// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "HeadlinePane.h"

#include "HeadlineList.h"
#include "HeadlineModel.h"

#include <QLabel>
#include <QVBoxLayout>

HeadlinePane::HeadlinePane(QWidget* parent)
    : QWidget(parent), m_model(new HeadlineModel(this)), m_list(new HeadlineList(m_model, this)),
      m_note(new QLabel(this))
{
    setObjectName(QStringLiteral("HeadlinePane"));
    m_note->setObjectName(QStringLiteral("HeadlineNote"));
    m_note->setAccessibleName(QStringLiteral("Headlines note"));
    // Paper names and server text are never markup.
    m_note->setTextFormat(Qt::PlainText);
    m_note->setWordWrap(true);
    m_note->setContentsMargins(4, 2, 4, 2);
    m_note->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_note);
    layout->addWidget(m_list, 1);
    setFocusProxy(m_list);
}

void HeadlinePane::setNote(const QString& text)
{
    m_note->setText(text);
    m_note->setVisible(!text.isEmpty());
}

QString HeadlinePane::note() const
{
    return m_note->text();
}
