// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QSplitter>

class View;

// A static splitter: a fixed grid of panes (one row here) with the framework's bar metrics.
class SplitterWnd : public QSplitter
{
    Q_OBJECT

public:
    explicit SplitterWnd(QWidget* parent = nullptr);

    bool CreateStatic(QWidget* parent, int rows, int cols);
    // Puts a view's pane widget into a pane, or the holder that contains it (the view with
    // others beside it); the width is the pane's initial size in pixels.
    bool CreateView(int row, int col, View* view, int initialWidth, QWidget* holder = nullptr);
    [[nodiscard]] View* GetPane(int row, int col) const;

    [[nodiscard]] int maxRows() const { return m_maxRows; }
    [[nodiscard]] int maxCols() const { return m_maxCols; }
    [[nodiscard]] int rowCount() const { return m_created ? m_maxRows : 0; }
    [[nodiscard]] int colCount() const { return m_created ? m_maxCols : 0; }

    // The framework's splitter metrics, in pixels.
    static constexpr int kSplitter = 7;
    static constexpr int kBorderShare = 1;
    static constexpr int kSplitterGap = 7;
    static constexpr int kBorder = 2;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int m_maxRows = 0;
    int m_maxCols = 0;
    bool m_created = false;
    QList<View*> m_panes;
    QList<int> m_initialWidths;
    bool m_laidOut = false;
};
