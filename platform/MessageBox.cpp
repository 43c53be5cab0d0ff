#include "MessageBox.h"

#include <QApplication>
#include <QMessageBox>

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
        // No icon asked for: the framework's choice for the button set.
        return (type & kButtonMask) == MB_YESNO ? QMessageBox::Question : QMessageBox::Warning;
    }
}
} // namespace

int MessageBox::Show(const QString& text, unsigned type)
{
    const Request request{caption(), text, type};
    if (hook())
        return hook()(request);

    QMessageBox box(iconFor(type), request.caption, text, QMessageBox::NoButton,
                    QApplication::activeWindow());
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
