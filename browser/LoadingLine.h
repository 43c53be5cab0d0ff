// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QWidget>

// A thin line across the top of the browser pane that fills as a page loads; shown only
// while one does.
class LoadingLine : public QWidget
{
    Q_OBJECT

public:
    // Lies over the top edge of the parent, whatever its size.
    explicit LoadingLine(QWidget* parent);

    void SetProgress(int percent);
    [[nodiscard]] int progress() const { return m_percent; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void FitToParent();

    int m_percent = 0;
};
