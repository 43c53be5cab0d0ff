// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QObject>
#include <QString>

// The program's own pages (the start page, the notices, the help page) dress with the skin:
// their root element carries the skin's name in a data-skin attribute, which their style
// sheets key on. This keeps the name and the script that sets it; the browser side runs the
// script in its pages. Pages from anywhere else are left alone.
class PageSkin : public QObject
{
    Q_OBJECT

public:
    static PageSkin& Instance();

    // The skin now on, lower case ("night"); empty for none.
    [[nodiscard]] QString name() const { return m_name; }
    void SetName(const QString& name);

    // The script that names the skin in a page of ours, to run as the page starts and again
    // when the skin changes.
    [[nodiscard]] QString script() const { return Script(m_name); }
    [[nodiscard]] static QString Script(const QString& name);

signals:
    void changed();

private:
    PageSkin() = default;

    QString m_name;
};
