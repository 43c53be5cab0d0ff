// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "MessageBox.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace {
QString& caption()
{
    static QString value = QStringLiteral("KestrinNewsReader");
    return value;
}

MessageBox::Hook& hook()
{
    static MessageBox::Hook value;
    return value;
}

constexpr unsigned kButtonMask = 0xF;
constexpr unsigned kIconMask = 0xF0;

QMessageBox::Icon iconFor(unsigned type)
{
    switch (type & kIconMask) {
    case MB_ICONERROR:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONWARNING:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        // No icon asked for, none shown: a success is no warning.
        return QMessageBox::NoIcon;
    }
}
// The box sizes itself from its text and leaves little room for the caption, which the
// window manager then cuts ("Kes… der"): a spacer across the last row keeps it wide enough.
void widenForCaption(QMessageBox& box)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    const int width = MessageBox::CaptionWidth(box.windowTitle());
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}
} // namespace

int MessageBox::CaptionWidth(const QString& caption)
{
    // Title bars draw the caption in a bold face beside an icon and three buttons, each
    // about as wide as the bar is high.
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int bar = metrics.height() + 10;
    return metrics.horizontalAdvance(caption) + 4 * bar + 2 * metrics.averageCharWidth();
}

int MessageBox::Show(const QString& text, unsigned type)
{
    const Request request{caption(), text, type};
    if (hook())
        return hook()(request);

    QMessageBox box(iconFor(type), request.caption, text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    // Messages carry names and addresses from files and servers: never read as markup.
    box.setTextFormat(Qt::PlainText);
    widenForCaption(box);
    if ((type & kButtonMask) == MB_YESNO) {
        box.addButton(QMessageBox::Yes);
        box.addButton(QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? IDYES : IDNO;
    }
    box.addButton(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    return IDOK;
}

void MessageBox::SetCaption(const QString& value)
{
    caption() = value;
}

QString MessageBox::Caption()
{
    return caption();
}

MessageBox::Hook MessageBox::SetHook(Hook value)
{
    return std::exchange(hook(), std::move(value));
}
