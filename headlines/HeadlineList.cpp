// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "HeadlineList.h"

#include "HeadlineModel.h"

#include <QHeaderView>
#include <QKeyEvent>

HeadlineList::HeadlineList(HeadlineModel* model, QWidget* parent)
    : QTreeView(parent), m_model(model)
{
    setObjectName(QStringLiteral("HeadlineList"));
    setAccessibleName(QStringLiteral("Headlines"));
    setModel(model);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(true);
    sortByColumn(HeadlineModel::Time, Qt::DescendingOrder);
    QHeaderView* head = header();
    head->setStretchLastSection(false);
    head->setSectionResizeMode(HeadlineModel::Headline, QHeaderView::Stretch);
    head->resizeSection(HeadlineModel::Paper, 160);
    head->resizeSection(HeadlineModel::Time, 80);
    head->setAccessibleName(QStringLiteral("Headline columns"));
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            emit openRequested(index.row());
    });
}

void HeadlineList::ensureCurrent()
{
    if (currentIndex().isValid())
        return;
    const int row = m_model->newestRow();
    if (row >= 0)
        setCurrentIndex(m_model->index(row, HeadlineModel::Headline));
}

bool HeadlineList::event(QEvent* event)
{
    // F5 here refreshes the headlines; the window's F5 reloads the page.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F5 && key->modifiers() == Qt::NoModifier) {
            event->accept();
            return true;
        }
    }
    return QTreeView::event(event);
}

void HeadlineList::keyPressEvent(QKeyEvent* event)
{
    const int row = currentIndex().isValid() ? currentIndex().row() : -1;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (row >= 0)
            emit openRequested(row);
        return;
    case Qt::Key_Space:
        if (row >= 0)
            emit toggleReadRequested(row);
        return;
    case Qt::Key_F5:
        if (event->modifiers() == Qt::NoModifier) {
            emit refreshRequested();
            return;
        }
        break;
    default:
        break;
    }
    QTreeView::keyPressEvent(event);
}

void HeadlineList::focusInEvent(QFocusEvent* event)
{
    QTreeView::focusInEvent(event);
    ensureCurrent();
}
