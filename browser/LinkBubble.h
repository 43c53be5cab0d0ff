// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QLabel>

// The address of the link under the pointer, in a small bubble at the bottom left of the
// browser pane, as browsers show it.
class LinkBubble : public QLabel
{
    Q_OBJECT

public:
    // Lies over the bottom left corner of the parent, whatever its size.
    explicit LinkBubble(QWidget* parent);

    // Shows the address, or hides the bubble for "".
    void ShowAddress(const QString& url);
    [[nodiscard]] QString address() const { return m_address; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Place();

    QString m_address;
};
