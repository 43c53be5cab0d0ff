// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CRestoreFavoritesDlg.h"

#include "FavoritesMessages.h"
#include "favorites/CFavoritesStore.h"
#include "platform/MessageBox.h"
#include "platform/PlainText.h"
#include "platform/WaitCursor.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int kEntryRole = Qt::UserRole;

QString CountText(const CFavoritesBackups::Entry& entry)
{
    // Short, so the columns beside it stay whole; the reason is the row's tooltip.
    if (!entry.readable)
        return QStringLiteral("Cannot be read");
    return entry.count == 1 ? QStringLiteral("1 favorite")
                            : QStringLiteral("%1 favorites").arg(entry.count);
}

QString ToolTipText(const CFavoritesBackups::Entry& entry)
{
    const QString path = QDir::toNativeSeparators(entry.path);
    if (entry.readable)
        return path;
    return QStringLiteral("This backup cannot be read: %1\n%2").arg(entry.problem, path);
}
} // namespace

CRestoreFavoritesDlg::CRestoreFavoritesDlg(CFavoritesStore& store, QWidget* parent)
    : QDialog(parent), m_store(store), m_list(new QTreeWidget(this)),
      m_restore(new QPushButton(QStringLiteral("&Restore"), this))
{
    setWindowTitle(QStringLiteral("Restore My Favorites"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(
        QStringLiteral("Choose the state of My Favorites to bring back. The list as it is now "
                       "is backed up first, so a restore can itself be undone here."),
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    m_list->setAccessibleName(QStringLiteral("Backups"));
    m_list->setAccessibleDescription(intro->text());
    m_list->setColumnCount(3);
    m_list->setHeaderLabels(
        {QStringLiteral("Made"), QStringLiteral("Favorites"), QStringLiteral("Made because")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->header()->setStretchLastSection(true);
    PlainText::ShowToolTipsAsText(m_list);
    layout->addWidget(m_list);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(m_restore, QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Close);
    m_restore->setDefault(true);
    layout->addWidget(buttons);

    connect(m_restore, &QPushButton::clicked, this, [this] { OnRestore(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
    connect(m_list, &QTreeWidget::itemActivated, this, [this] { OnRestore(); });
    resize(620, 380);
    Fill();
}

bool CRestoreFavoritesDlg::Run(CFavoritesStore& store)
{
    CRestoreFavoritesDlg dialog(store);
    if (dialog.IsEmpty()) {
        MessageBox::Show(QStringLiteral("There is no backup of My Favorites yet. One is made "
                                        "before the first change of each session and by "
                                        "Favorites > Backup."),
                         MB_OK | MB_ICONINFORMATION);
        return false;
    }
    return dialog.exec() == QDialog::Accepted;
}

QString CRestoreFavoritesDlg::TimeText(const CFavoritesBackups::Entry& entry)
{
    return TimeText(entry.time);
}

QString CRestoreFavoritesDlg::TimeText(const QDateTime& time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd  HH:mm:ss"));
}

QString CRestoreFavoritesDlg::ReasonText(const CFavoritesBackups::Entry& entry)
{
    if (!entry.automatic)
        return QStringLiteral("Favorites > Backup (Favorites.xml.bk)");
    const BackupReason& reason = entry.reason;
    switch (reason.kind) {
    case BackupReason::Kind::FirstChange:
        return QStringLiteral("Start of session, before its first change");
    case BackupReason::Kind::Import:
        return reason.detail.isEmpty() ? QStringLiteral("Before importing bookmarks")
                                       : QStringLiteral("Before importing %1").arg(reason.detail);
    case BackupReason::Kind::Restore:
        return reason.time.isValid() ? QStringLiteral("Before restoring the backup made %1")
                                           .arg(TimeText(reason.time))
                                     : QStringLiteral("Before restoring a backup");
    case BackupReason::Kind::Unknown:
        break;
    }
    return QStringLiteral("Automatic");
}

void CRestoreFavoritesDlg::Fill()
{
    {
        const WaitCursor wait;
        m_entries = CFavoritesBackups(m_store.GetFavoritesPath()).List(m_store.ManualBackupPath());
    }
    m_list->clear();
    QTreeWidgetItem* first = nullptr;
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        const CFavoritesBackups::Entry& entry = m_entries.at(i);
        auto* item = new QTreeWidgetItem({TimeText(entry), CountText(entry), ReasonText(entry)});
        item->setData(0, kEntryRole, int(i));
        for (int column = 0; column < 3; ++column)
            item->setToolTip(column, ToolTipText(entry));
        if (!entry.readable)
            item->setFlags(Qt::NoItemFlags);
        m_list->addTopLevelItem(item);
        if (!first && entry.readable)
            first = item;
    }
    for (int column = 0; column < 2; ++column)
        m_list->resizeColumnToContents(column);
    if (first)
        m_list->setCurrentItem(first);
    UpdateButtons();
}

const CFavoritesBackups::Entry* CRestoreFavoritesDlg::Selected() const
{
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return nullptr;
    const CFavoritesBackups::Entry& entry =
        m_entries.at(selected.first()->data(0, kEntryRole).toInt());
    return entry.readable ? &entry : nullptr;
}

void CRestoreFavoritesDlg::UpdateButtons()
{
    m_restore->setEnabled(Selected() != nullptr);
}

void CRestoreFavoritesDlg::OnRestore()
{
    const CFavoritesBackups::Entry* entry = Selected();
    if (!entry)
        return;
    const CFavoritesBackups::Entry chosen = *entry;
    const QString question =
        QStringLiteral("Replace My Favorites with the backup made %1 (%2)?\nThe list as it is "
                       "now is backed up first.")
            .arg(TimeText(chosen), CountText(chosen));
    if (MessageBox::Show(question, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (!FavoritesMessages::Tell(m_store.Restore(chosen.path))) {
        // The list shows what is there now.
        Fill();
        return;
    }
    MessageBox::Show(QStringLiteral("My Favorites is restored: it holds the %1 of the backup "
                                    "made %2.")
                         .arg(CountText(chosen), TimeText(chosen)),
                     MB_OK | MB_ICONINFORMATION);
    accept();
}
