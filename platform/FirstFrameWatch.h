// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QObject>

class QWidget;

// Tells once that a widget's first frame on screen has been flushed.
class FirstFrameWatch : public QObject
{
    Q_OBJECT

public:
    // Watches the widget; the watch is its child.
    explicit FirstFrameWatch(QWidget* widget);

signals:
    void shown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_widget;
};
