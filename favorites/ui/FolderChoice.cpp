// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FolderChoice.h"

#include <QAbstractItemView>
#include <QComboBox>

void FolderChoice::Fill(QComboBox* combo, const QList<QStringList>& folders,
                        const QStringList& selected)
{
    combo->clear();
    combo->view()->setAccessibleName(QStringLiteral("Folders"));
    combo->addItem(QStringLiteral("My Favorites"), QStringList());
    for (const QStringList& path : folders)
        combo->addItem(QString(4 * path.size(), u' ') + path.constLast(), path);
    const int at = combo->findData(selected);
    combo->setCurrentIndex(at < 0 ? 0 : at);
}

QStringList FolderChoice::Selected(const QComboBox* combo)
{
    return combo->currentData().toStringList();
}

QString FolderChoice::Shown(const QStringList& path)
{
    return path.join(QStringLiteral(" \u203a "));
}
