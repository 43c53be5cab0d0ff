#include "FileDialog.h"

#include <QApplication>
#include <QFileDialog>

namespace {
FileDialog::Hook& hook()
{
    static FileDialog::Hook value;
    return value;
}
} // namespace

QString FileDialog::GetOpenFileName()
{
    if (hook())
        return hook()(Mode::Open, {});
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), QStringLiteral("Open"));
}

QString FileDialog::GetSaveFileName(const QString& suggestedName)
{
    if (hook())
        return hook()(Mode::Save, suggestedName);
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), QStringLiteral("Save As"),
                                        suggestedName);
}

QString FileDialog::GetOpenFileName(const QString& title, const QString& directory,
                                    const QString& filter)
{
    if (hook())
        return hook()(Mode::Open, directory);
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), title, directory, filter);
}

QString FileDialog::GetSaveFileName(const QString& title, const QString& suggestedPath,
                                    const QString& filter)
{
    if (hook())
        return hook()(Mode::Save, suggestedPath);
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), title, suggestedPath,
                                        filter);
}

FileDialog::Hook FileDialog::SetHook(Hook value)
{
    return std::exchange(hook(), std::move(value));
}
