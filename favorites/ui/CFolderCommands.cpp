// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CFolderCommands.h"

#include "FavoritesMessages.h"
#include "FolderChoice.h"
#include "favorites/CFavoritesStore.h"
#include "platform/MessageBox.h"
#include "res/Resource.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QVBoxLayout>

#include <optional>

namespace {
// The name typed, or nothing when the user cancelled.
std::optional<QString> AskName(QWidget* owner, const QString& caption, const QString& name)
{
    QInputDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("FolderNameDialog"));
    dialog.setWindowTitle(caption);
    dialog.setLabelText(QStringLiteral("Folder name:"));
    dialog.setTextValue(name);
    dialog.setAccessibleName(caption);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}
} // namespace

bool CFolderCommands::NewFolder(CFavoritesStore& store, const QStringList& parent, QWidget* owner)
{
    const std::optional<QString> name = AskName(owner, QStringLiteral("New Folder"), {});
    return name && FavoritesMessages::Tell(store.CreateFolder(parent, *name));
}

bool CFolderCommands::Rename(CFavoritesStore& store, const QStringList& path, QWidget* owner)
{
    if (path.isEmpty())
        return false;
    const std::optional<QString> name =
        AskName(owner, QStringLiteral("Rename Folder"), path.constLast());
    return name && FavoritesMessages::Tell(store.RenameFolder(path, *name));
}

QString CFolderCommands::DeleteQuestion(const QStringList& path, qsizetype favorites)
{
    const QString name = path.isEmpty() ? QString() : path.constLast();
    if (favorites == 0)
        return QStringLiteral("Delete the folder \u201c%1\u201d?").arg(name);
    if (favorites == 1)
        return QStringLiteral("Delete the folder \u201c%1\u201d and the favorite it holds?")
            .arg(name);
    return QStringLiteral("Delete the folder \u201c%1\u201d and the %2 favorites it holds?")
        .arg(name)
        .arg(favorites);
}

bool CFolderCommands::Delete(CFavoritesStore& store, const QStringList& path, qsizetype favorites)
{
    if (path.isEmpty() || MessageBox::Show(DeleteQuestion(path, favorites), MB_YESNO) != IDYES)
        return false;
    return FavoritesMessages::Tell(store.DeleteFolder(path));
}

bool CFolderCommands::MoveTo(CFavoritesStore& store, const QList<FavoriteRef>& refs, QWidget* owner)
{
    if (refs.isEmpty())
        return false;
    QList<FavoriteRecord> records;
    QList<QStringList> folders;
    (void)store.ReadAll(records, folders);

    QDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("MoveToFolderDialog"));
    dialog.setWindowTitle(QStringLiteral("Move to Folder"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(
        refs.size() == 1
            ? QStringLiteral("Move \u201c%1\u201d to:").arg(refs.constFirst().record.title)
            : QStringLiteral("Move %1 favorites to:").arg(refs.size()),
        &dialog);
    label->setTextFormat(Qt::PlainText);
    auto* choice = new QComboBox(&dialog);
    choice->setObjectName(QStringLiteral("folder"));
    choice->setAccessibleName(QStringLiteral("Folder"));
    label->setBuddy(choice);
    FolderChoice::Fill(choice, folders, refs.constFirst().record.folder);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(label);
    layout->addWidget(choice);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return FavoritesMessages::Tell(store.MoveRecords(refs, FolderChoice::Selected(choice)),
                                   refs.size());
}

bool CFolderCommands::SortByName(CFavoritesStore& store, const QStringList& path)
{
    return FavoritesMessages::Tell(store.SortFolder(path));
}
