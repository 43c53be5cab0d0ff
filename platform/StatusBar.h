// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QStatusBar>

#include <span>

class QLabel;

// The framework's status bar: a message pane followed by key-state indicator panes.
class StatusBar : public QStatusBar
{
    Q_OBJECT

public:
    StatusBar();

    // Places the bar at the bottom of its frame; the id names it.
    bool Create(QWidget* parent, int id);

    // The separator id is the message pane; the others are indicator panes shown by their
    // text. The panes are made when the bar is first shown.
    bool SetIndicators(std::span<const int> ids);
    void SetMessage(const QString& text);
    [[nodiscard]] QString message() const;
    // What the message pane tells when the pointer rests on it.
    void SetMessageToolTip(const QString& text);
    [[nodiscard]] QString messageToolTip() const { return m_messageToolTip; }
    [[nodiscard]] int paneCount() const;
    [[nodiscard]] QString paneText(int index) const;
    // Shows each indicator's text only while its lock key is on; a hidden bar is left alone.
    void UpdateIndicators();

    void setVisible(bool visible) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CreatePanes();
    void RemovePanes();

    QList<int> m_ids;
    QString m_messageText;
    QString m_messageToolTip;
    QLabel* m_message = nullptr;
    QList<QPair<int, QLabel*>> m_indicators;
};
