// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "SplitterWnd.h"

#include "View.h"

#include <QResizeEvent>

SplitterWnd::SplitterWnd(QWidget* parent) : QSplitter(Qt::Horizontal, parent)
{
    setObjectName(QStringLiteral("splitter"));
    setHandleWidth(kSplitter);
    setChildrenCollapsible(false);
}

bool SplitterWnd::CreateStatic(QWidget* parent, int rows, int cols)
{
    // Only a single row of columns is ever needed.
    if (m_created || rows != 1 || cols < 1)
        return false;
    setParent(parent);
    m_maxRows = rows;
    m_maxCols = cols;
    m_panes.fill(nullptr, cols);
    m_initialWidths.fill(0, cols);
    m_created = true;
    return true;
}

bool SplitterWnd::CreateView(int row, int col, View* view, int initialWidth, QWidget* holder)
{
    if (!m_created || row != 0 || col < 0 || col >= m_maxCols || !view || m_panes.at(col))
        return false;
    QWidget* widget = holder ? holder : view->paneWidget();
    if (!widget)
        return false;
    insertWidget(col, widget);
    setStretchFactor(col, col == m_maxCols - 1 ? 1 : 0);
    m_panes[col] = view;
    m_initialWidths[col] = initialWidth;
    return true;
}

View* SplitterWnd::GetPane(int row, int col) const
{
    if (row != 0 || col < 0 || col >= m_panes.size())
        return nullptr;
    return m_panes.at(col);
}

void SplitterWnd::resizeEvent(QResizeEvent* event)
{
    QSplitter::resizeEvent(event);
    // The first panes keep their initial widths; the last one takes what is left.
    if (m_laidOut || !m_created || event->size().width() <= 0)
        return;
    m_laidOut = true;
    QList<int> sizes = m_initialWidths;
    int used = 0;
    for (int i = 0; i + 1 < sizes.size(); ++i)
        used += sizes.at(i) + handleWidth();
    sizes.last() = qMax(1, event->size().width() - used);
    setSizes(sizes);
}
