// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CatalogPane.h"

#include "CLeftView.h"
#include "CatalogFilterEdit.h"

#include <QLabel>
#include <QLocale>
#include <QShortcut>
#include <QVBoxLayout>

CatalogPane::CatalogPane(CLeftView* tree, QWidget* parent)
    : QWidget(parent), m_tree(tree), m_edit(new CatalogFilterEdit(this)),
      m_status(new QLabel(this)), m_filter(tree)
{
    setObjectName(QStringLiteral("CatalogPane"));
    setAccessibleName(QStringLiteral("Catalog"));
    m_status->setObjectName(QStringLiteral("CatalogFilterStatus"));
    // A long query wraps instead of widening the pane.
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);
    m_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_status->setContentsMargins(3, 0, 3, 0);
    m_status->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_edit);
    layout->addWidget(m_status);
    layout->addWidget(tree, 1);
    tree->SetPaneWidget(this);
    // The pane's keyboard home is the tree; the box is reached with Ctrl+K, Tab or a click.
    setFocusProxy(tree);
    setTabOrder(m_edit, tree);

    connect(m_edit, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_filter.SetText(text); });
    connect(&m_filter, &CatalogTreeFilter::changed, this, [this] { UpdateStatusLine(); });
    connect(m_edit, &CatalogFilterEdit::focusEntered, this, [this] { m_filter.Prepare(); });
    connect(m_edit, &CatalogFilterEdit::downPressed, this, [this] { GoToFirstMatch(false); });
    connect(m_edit, &QLineEdit::returnPressed, this, [this] { GoToFirstMatch(true); });
    connect(m_edit, &CatalogFilterEdit::leaveRequested, this,
            [this] { m_tree->setFocus(Qt::OtherFocusReason); });

    // While the tree is filtered, Esc anywhere in the pane gives the whole tree back.
    auto* clear = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    clear->setContext(Qt::WidgetWithChildrenShortcut);
    clear->setEnabled(false);
    connect(clear, &QShortcut::activated, m_edit, &QLineEdit::clear);
    connect(&m_filter, &CatalogTreeFilter::changed, clear,
            [this, clear] { clear->setEnabled(m_filter.isActive()); });
}

void CatalogPane::FocusFilter()
{
    m_edit->setFocus(Qt::ShortcutFocusReason);
    m_edit->selectAll();
}

void CatalogPane::GoToFirstMatch(bool reopen)
{
    m_tree->setFocus(Qt::OtherFocusReason);
    QTreeWidgetItem* first = m_filter.firstMatch();
    if (!first)
        return;
    const bool wasSelected = m_tree->currentItem() == first && first->isSelected();
    const bool wasCurrent = m_tree->currentItem() == first;
    // A new current item opens through the selection change.
    m_tree->setCurrentItem(first);
    if (wasCurrent && (reopen || !wasSelected))
        m_tree->OpenSelected();
    m_tree->scrollToItem(first);
}

void CatalogPane::UpdateStatusLine()
{
    if (!m_filter.isActive()) {
        m_status->hide();
        return;
    }
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const int folders = m_filter.folderMatchCount();
    if (m_filter.matchCount() == 0 && folders == 0) {
        m_status->setText(
            QStringLiteral("No newspaper matches \u201c%1\u201d").arg(m_filter.text().trimmed()));
    } else {
        QString text = QStringLiteral("%1 of %2 sites")
                           .arg(english.toString(m_filter.matchCount()),
                                english.toString(m_filter.entryCount()));
        if (folders > 0) {
            text += folders == 1 ? QStringLiteral(", 1 folder")
                                 : QStringLiteral(", %1 folders").arg(english.toString(folders));
        }
        m_status->setText(text);
    }
    m_status->show();
}
