// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "LinkReportDialog.h"

#include "LinkFinding.h"
#include "platform/ExternalBrowser.h"
#include "platform/PlainText.h"
#include "platform/network/WebAddress.h"

#include <QClipboard>
#include <QCollator>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSet>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int kRowRole = Qt::UserRole;
constexpr int kSortRole = Qt::UserRole + 1;

// Dates sort by time, findings by severity, text by the user's collation.
class ReportItem : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    bool operator<(const QTreeWidgetItem& other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        const QVariant mine = data(column, kSortRole);
        const QVariant theirs = other.data(column, kSortRole);
        if (mine.isValid() && theirs.isValid() && mine != theirs)
            return QVariant::compare(mine, theirs) == QPartialOrdering::Less;
        static const QCollator collator = [] {
            QCollator value;
            value.setCaseSensitivity(Qt::CaseInsensitive);
            value.setNumericMode(true);
            return value;
        }();
        const int order = collator.compare(text(column), other.text(column));
        if (order != 0)
            return order < 0;
        return collator.compare(text(NameOrder), other.text(NameOrder)) < 0;
    }

private:
    static constexpr int NameOrder = LinkReportDialog::NameColumn;
};

int severity(LinkResult::Status status)
{
    switch (status) {
    case LinkResult::Status::Dead:
        return 0;
    case LinkResult::Status::Moved:
        return 1;
    case LinkResult::Status::Unsure:
        return 2;
    case LinkResult::Status::Alive:
        break;
    }
    return 3;
}
} // namespace

LinkReportDialog::LinkReportDialog(Actions actions, QWidget* parent)
    : QDialog(parent), m_actions(std::move(actions)), m_summary(new QLabel(this)),
      m_list(new QTreeWidget(this)), m_open(new QPushButton(QStringLiteral("&Open"), this)),
      m_openExternal(new QPushButton(QStringLiteral("Open in Your &Browser"), this)),
      m_copy(new QPushButton(QStringLiteral("&Copy List"), this)),
      m_useNew(new QPushButton(QStringLiteral("&Use New Address"), this)), m_note(new QLabel(this))
{
    setObjectName(QStringLiteral("LinkReportDialog"));
    setWindowTitle(QStringLiteral("Link Report"));
    setModal(false);
    m_summary->setWordWrap(true);
    m_note->setWordWrap(true);
    m_keepProblem = new QLabel(this);
    m_keepProblem->setObjectName(QStringLiteral("keepProblem"));
    m_keepProblem->setWordWrap(true);
    m_keepProblem->hide();
    // Names and addresses come from files and servers: never read as markup.
    for (QLabel* label : {m_summary, m_note, m_keepProblem})
        label->setTextFormat(Qt::PlainText);
    PlainText::ShowToolTipsAsText(m_list);
    m_list->setObjectName(QStringLiteral("links"));
    m_list->setAccessibleName(QStringLiteral("Dead, moved and unsure sites"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setHeaderLabels({QStringLiteral("Site"), QStringLiteral("Found"),
                             QStringLiteral("Details"), QStringLiteral("Checked"),
                             QStringLiteral("Listed under"), QStringLiteral("Address")});
    m_list->setSortingEnabled(true);
    m_list->sortByColumn(FoundColumn, Qt::AscendingOrder);
    m_list->header()->setSectionResizeMode(QHeaderView::Interactive);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(m_open, QDialogButtonBox::ActionRole);
    buttons->addButton(m_openExternal, QDialogButtonBox::ActionRole);
    buttons->addButton(m_copy, QDialogButtonBox::ActionRole);
    buttons->addButton(m_useNew, QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_keepProblem);
    layout->addWidget(m_summary);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_note);
    layout->addWidget(buttons);
    resize(860, 480);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
    connect(m_open, &QPushButton::clicked, this, &LinkReportDialog::openSelected);
    connect(m_openExternal, &QPushButton::clicked, this, &LinkReportDialog::openSelectedExternally);
    connect(m_copy, &QPushButton::clicked, this, &LinkReportDialog::copyList);
    connect(m_useNew, &QPushButton::clicked, this, &LinkReportDialog::useNewAddress);
    connect(m_list, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        m_list->setCurrentItem(item);
        openSelected();
    });
    connect(m_list, &QTreeWidget::currentItemChanged, this, [this] { updateButtons(); });
    updateButtons();
}

void LinkReportDialog::setEntries(const QList<LinkTarget>& targets,
                                  const LinkResultStore::Results& results)
{
    m_rows.clear();
    m_list->setSortingEnabled(false);
    m_list->clear();
    m_hasResults = !results.isEmpty();
    QList<QTreeWidgetItem*> items;
    for (const LinkTarget& target : targets) {
        const auto it = results.constFind(target.url);
        if (it == results.constEnd() || it->status == LinkResult::Status::Alive)
            continue;
        const LinkResult& result = *it;
        auto* item = new ReportItem(QStringList{
            target.name, LinkFinding::StatusTitle(result.status), LinkFinding::Details(result),
            LinkFinding::Date(result.checked), target.node, target.url});
        item->setData(NameColumn, kRowRole, static_cast<int>(m_rows.size()));
        item->setData(FoundColumn, kSortRole, severity(result.status));
        item->setData(CheckedColumn, kSortRole, result.checked);
        item->setData(DetailsColumn, kRowRole, result.newUrl);
        item->setToolTip(DetailsColumn, LinkFinding::ToolTip(result));
        m_rows.append(target);
        items.append(item);
    }
    m_list->addTopLevelItems(items);
    m_list->setSortingEnabled(true);
    for (int column = 0; column < m_list->columnCount(); ++column)
        m_list->resizeColumnToContents(column);
    updateSummary();
    m_note->clear();
    updateButtons();
}

void LinkReportDialog::updateSummary()
{
    // Counted from the rows on show, so that a row that goes (Use New Address) leaves the
    // count with it; by address, as the check counts, though a site may be listed twice.
    QSet<QString> counted[3];
    QDateTime latest;
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = m_list->topLevelItem(row);
        counted[item->data(FoundColumn, kSortRole).toInt()].insert(item->text(AddressColumn));
        const QDateTime checked = item->data(CheckedColumn, kSortRole).toDateTime();
        if (!latest.isValid() || checked > latest)
            latest = checked;
    }
    QString summary;
    if (m_list->topLevelItemCount() == 0) {
        summary = !m_hasResults ? QStringLiteral("No link check has been run yet: choose Catalog > "
                                                 "Check Links… to run one.")
                                : QStringLiteral("Every checked site was reachable.");
    } else {
        summary = QStringLiteral("%1 dead, %2 moved and %3 unsure, as last found on %4.")
                      .arg(counted[0].size())
                      .arg(counted[1].size())
                      .arg(counted[2].size())
                      .arg(LinkFinding::Date(latest));
    }
    m_summary->setText(summary);
    // Said with the list, which a screen reader's user reaches before the line above it.
    m_list->setAccessibleDescription(summary);
}

void LinkReportDialog::setKeepProblem(const QString& problem)
{
    m_keepProblem->setText(problem);
    m_keepProblem->setVisible(!problem.isEmpty());
}

QTreeWidgetItem* LinkReportDialog::selected() const
{
    return m_list->currentItem();
}

void LinkReportDialog::updateButtons()
{
    const QTreeWidgetItem* item = selected();
    m_open->setEnabled(item);
    m_openExternal->setEnabled(item);
    m_copy->setEnabled(m_list->topLevelItemCount() > 0);
    bool movedFavorite = false;
    if (item) {
        const LinkTarget& target = m_rows.at(item->data(NameColumn, kRowRole).toInt());
        movedFavorite =
            target.favorite &&
            item->data(FoundColumn, kSortRole).toInt() == severity(LinkResult::Status::Moved) &&
            WebAddress::IsWeb(QUrl(item->data(DetailsColumn, kRowRole).toString()));
    }
    m_useNew->setEnabled(movedFavorite && m_actions.useNewAddress);
}

void LinkReportDialog::openSelected()
{
    if (const QTreeWidgetItem* item = selected(); item && m_actions.open)
        m_actions.open(item->text(AddressColumn));
}

void LinkReportDialog::openSelectedExternally()
{
    if (const QTreeWidgetItem* item = selected())
        ExternalBrowser::Open(QUrl(item->text(AddressColumn)));
}

QString LinkReportDialog::ListText() const
{
    QStringList lines;
    QStringList header;
    for (int column = 0; column < m_list->columnCount(); ++column)
        header.append(m_list->headerItem()->text(column));
    lines.append(header.join(QLatin1Char('\t')));
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = m_list->topLevelItem(row);
        QStringList cells;
        for (int column = 0; column < m_list->columnCount(); ++column)
            cells.append(item->text(column));
        lines.append(cells.join(QLatin1Char('\t')));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void LinkReportDialog::copyList()
{
    QGuiApplication::clipboard()->setText(ListText());
    m_note->setText(QStringLiteral("The list is on the clipboard."));
}

void LinkReportDialog::useNewAddress()
{
    QTreeWidgetItem* item = selected();
    if (!item || !m_useNew->isEnabled())
        return;
    const LinkTarget target = m_rows.at(item->data(NameColumn, kRowRole).toInt());
    const QString newUrl = item->data(DetailsColumn, kRowRole).toString();
    if (!m_actions.useNewAddress(target, newUrl))
        return;
    delete item;
    updateSummary();
    m_note->setText(
        QStringLiteral("\"%1\" in My Favorites now opens %2.").arg(target.name.trimmed(), newUrl));
    updateButtons();
}
