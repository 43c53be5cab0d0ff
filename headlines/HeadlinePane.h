// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QWidget>

class HeadlineList;
class HeadlineModel;
class QLabel;

// The headline list with a line above it for what the list cannot show: a paper whose
// feed is being looked for, or that has none.
class HeadlinePane : public QWidget
{
    Q_OBJECT

public:
    explicit HeadlinePane(QWidget* parent = nullptr);

    [[nodiscard]] HeadlineModel* model() const { return m_model; }
    [[nodiscard]] HeadlineList* list() const { return m_list; }
    // The line above the list; empty hides it.
    void setNote(const QString& text);
    [[nodiscard]] QString note() const;

private:
    HeadlineModel* m_model;
    HeadlineList* m_list;
    QLabel* m_note;
};
