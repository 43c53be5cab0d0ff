// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FileDialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QTreeView>

namespace {
FileDialog::Hook& hook()
{
    static FileDialog::Hook value;
    return value;
}

// The detail view starts with columns sized for short sizes and types, which cuts
// "166 bytes" or "XML Document" once a skin pads the cells: fit them to each folder as it
// loads, and widen the chooser (within the screen) so that they show. The user can still
// drag the columns.
void fitColumnsToContents(QFileDialog& dialog)
{
    auto* view = dialog.findChild<QTreeView*>();
    auto* model = dialog.findChild<QFileSystemModel*>();
    if (!view || !model)
        return;
    QObject::connect(model, &QFileSystemModel::directoryLoaded, view, [view, &dialog] {
        for (int column = 1; column < view->header()->count(); ++column)
            view->resizeColumnToContents(column);
        const int missing = view->header()->length() - view->viewport()->width();
        if (missing <= 0 || !dialog.isVisible())
            return;
        const QScreen* screen = dialog.screen();
        const int room =
            screen ? screen->availableGeometry().width() - dialog.frameGeometry().width() : 0;
        const int extra = missing + view->verticalScrollBar()->sizeHint().width();
        dialog.resize(dialog.width() + qBound(0, extra, room), dialog.height());
    });
}

QString run(FileDialog::Mode mode, const QString& suggestedName)
{
    const bool open = mode == FileDialog::Mode::Open;
    QFileDialog dialog(QApplication::activeWindow(),
                       open ? QStringLiteral("Open") : QStringLiteral("Save As"), suggestedName);
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    fitColumnsToContents(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}
} // namespace

QString FileDialog::GetOpenFileName()
{
    if (hook())
        return hook()(Mode::Open, {});
    return run(Mode::Open, {});
}

QString FileDialog::GetSaveFileName(const QString& suggestedName)
{
    if (hook())
        return hook()(Mode::Save, suggestedName);
    return run(Mode::Save, suggestedName);
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
    QFileDialog dialog(QApplication::activeWindow(), title, suggestedPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without an ending gets the suggested one, before the overwrite question.
    dialog.setDefaultSuffix(QFileInfo(suggestedPath).suffix());
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

FileDialog::Hook FileDialog::SetHook(Hook value)
{
    return std::exchange(hook(), std::move(value));
}
