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

    // The first id is the message pane; the others are indicator panes shown by their text.
    bool SetIndicators(std::span<const int> ids);
    void SetMessage(const QString& text);
    [[nodiscard]] QString message() const;
    [[nodiscard]] int paneCount() const;
    [[nodiscard]] QString paneText(int index) const;
    // Shows each indicator's text only while its lock key is on.
    void UpdateIndicators();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_message = nullptr;
    QList<QPair<int, QLabel*>> m_indicators;
};
