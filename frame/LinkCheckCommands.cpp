// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "LinkCheckCommands.h"

#include "catalog/CLeftView.h"
#include "catalog/CatalogContextMenu.h"
#include "catalog/CatalogLinkMarks.h"
#include "favorites/CFavoritesStore.h"
#include "favorites/ui/FavoritesMessages.h"
#include "linkcheck/LinkCheckWindow.h"
#include "linkcheck/LinkFinding.h"
#include "linkcheck/LinkReportDialog.h"
#include "linkcheck/LinkTargets.h"
#include "platform/MessageBox.h"
#include "platform/PlainText.h"
#include "platform/network/WebAddress.h"

#include <QMenu>
#include <QToolTip>
#include <QTreeWidgetItemIterator>

LinkCheckCommands::LinkCheckCommands(QWidget* window, CLeftView* tree, CatalogContextMenu& treeMenu,
                                     CFavoritesStore& favorites, Hooks hooks)
    : m_windowParent(window), m_tree(tree), m_favorites(favorites), m_hooks(std::move(hooks)),
      m_controller(LinkResultStore::DefaultPath())
{
    m_marks = std::make_unique<CatalogLinkMarks>(
        tree, [this](const QString& url) { return m_controller.store().find(url); });
    connect(&m_controller, &LinkCheckController::resultChanged, this,
            &LinkCheckCommands::onResultChanged);
    connect(&m_controller, &LinkCheckController::runFinished, this,
            &LinkCheckCommands::onRunFinished);
    connect(&m_controller, &LinkCheckController::keepProblemChanged, this,
            &LinkCheckCommands::showKeepProblem);
    // A results file refused at start is told once the window can show it.
    if (!m_controller.keepProblem().isEmpty())
        QTimer::singleShot(0, this, &LinkCheckCommands::showKeepProblem);

    // Results arrive one by one; the report is rebuilt once they pause.
    m_reportRefresh.setSingleShot(true);
    m_reportRefresh.setInterval(300);
    connect(&m_reportRefresh, &QTimer::timeout, this, &LinkCheckCommands::refreshReport);

    treeMenu.addSection([this, tree](QMenu& menu, const CatalogMenuContext& context) {
        if (context.folder) {
            // A folder is checked as a group: every favorite it holds, however deep.
            QStringList addresses;
            for (const FavoriteRef& ref : tree->FavoritesUnder(context.item))
                addresses.append(ref.record.url);
            menu.addAction(QStringLiteral("Check &These Links"), this,
                           [this, addresses] { CheckThese(addresses); })
                ->setEnabled(!addresses.isEmpty());
            return;
        }
        const QString name = context.name;
        const QString url = context.url;
        menu.addAction(QStringLiteral("C&heck This Link"), this,
                       [this, name, url] { CheckThisLink(name, url); })
            ->setEnabled(!url.isEmpty());
    });
}

LinkCheckCommands::~LinkCheckCommands()
{
    // The windows belong to the frame; a check still running stops with the controller.
    delete m_window;
    delete m_report;
}

QList<LinkTarget> LinkCheckCommands::currentTargets() const
{
    QList<FavoriteRecord> favorites;
    (void)m_favorites.ReadAll(favorites);
    return LinkTargets::Collect(favorites);
}

void LinkCheckCommands::useResultsFile(const QString& path)
{
    m_controller.setResultsPath(path);
    m_marks->applyAll();
}

void LinkCheckCommands::OnCheckLinks()
{
    CheckThese(LinkTargets::Addresses(currentTargets()));
}

void LinkCheckCommands::CheckThese(const QStringList& addresses)
{
    if (m_controller.isRunning() && !m_controller.isFullRun())
        m_controller.cancel();
    if (!m_window) {
        m_window = new LinkCheckWindow(m_controller.checker(), m_windowParent);
        connect(m_window, &LinkCheckWindow::cancelRequested, &m_controller,
                &LinkCheckController::cancel);
    }
    if (!m_controller.isRunning()) {
        m_window->begin();
        m_controller.checkAll(addresses);
    }
    // Finished at once (nothing to check): the window has nothing more to show.
    if (m_controller.isRunning() || m_controller.checker().isOffline()) {
        m_window->show();
        m_window->raise();
        m_window->activateWindow();
    }
}

void LinkCheckCommands::OnLinkReport()
{
    if (!m_report) {
        LinkReportDialog::Actions actions;
        actions.open = m_hooks.open;
        actions.useNewAddress = [this](const LinkTarget& favorite, const QString& newUrl) {
            return UseNewAddress(favorite, newUrl);
        };
        m_report = new LinkReportDialog(actions, m_windowParent);
    }
    refreshReport();
    m_report->show();
    m_report->raise();
    m_report->activateWindow();
}

void LinkCheckCommands::refreshReport()
{
    if (!m_report)
        return;
    m_report->setEntries(currentTargets(), m_controller.store().results());
    m_report->setKeepProblem(m_controller.keepProblem());
}

void LinkCheckCommands::showKeepProblem()
{
    const QString& problem = m_controller.keepProblem();
    if (!problem.isEmpty() && m_hooks.status)
        m_hooks.status(problem);
    if (m_report)
        m_report->setKeepProblem(problem);
}

void LinkCheckCommands::CheckThisLink(const QString& name, const QString& url)
{
    if (url.isEmpty())
        return;
    // A stored name may end in a blank; a sentence does not show it.
    const QString shown = name.trimmed();
    switch (m_controller.checkOne(url)) {
    case LinkCheckController::Single::Started:
        m_singleName = name;
        m_singleUrl = url;
        if (m_hooks.status)
            m_hooks.status(QStringLiteral("Checking %1…").arg(shown));
        break;
    case LinkCheckController::Single::Prioritized:
        if (m_hooks.status)
            m_hooks.status(QStringLiteral("%1 is checked next.").arg(shown));
        break;
    case LinkCheckController::Single::Running:
        if (m_hooks.status)
            m_hooks.status(QStringLiteral("%1 is part of the check under way.").arg(shown));
        break;
    }
}

QString LinkCheckCommands::NoteFor(const QUrl& url) const
{
    // The engine may show the address with or without its final slash.
    const QString address = url.toString();
    for (const QString& key :
         {address, url.toString(QUrl::StripTrailingSlash), address + QLatin1Char('/')}) {
        if (const LinkResult* result = m_controller.store().find(key))
            return QStringLiteral("The last link check found: %1.")
                .arg(LinkFinding::ToolTip(*result));
    }
    return {};
}

bool LinkCheckCommands::UseNewAddress(const LinkTarget& favorite, const QString& newUrl)
{
    // Whatever a results file says, a favorite is only ever pointed at a web page.
    if (!WebAddress::IsWeb(QUrl(newUrl)))
        return false;
    const FavoritesResult result = m_favorites.ChangeAddress(favorite.name, favorite.url, newUrl);
    // Told after the change, so the file is never locked while a message waits.
    switch (result.code) {
    case FavoritesResult::Code::Gone:
        MessageBox::Show(QStringLiteral("\"%1\" is no longer in My Favorites with the address %2, "
                                        "so it was not changed.")
                             .arg(favorite.name.trimmed(), favorite.url),
                         MB_OK | MB_ICONWARNING);
        break;
    case FavoritesResult::Code::Taken:
        MessageBox::Show(QStringLiteral("\"%1\" is already in My Favorites with the address %2; "
                                        "nothing was changed.")
                             .arg(favorite.name.trimmed(), newUrl),
                         MB_OK | MB_ICONINFORMATION);
        break;
    default:
        FavoritesMessages::Tell(result);
        break;
    }
    return result.succeeded();
}

void LinkCheckCommands::onResultChanged(const QString& url)
{
    m_marks->apply(url);
    if (m_report && m_report->isVisible() && !m_reportRefresh.isActive())
        m_reportRefresh.start();
}

void LinkCheckCommands::onRunFinished(LinkChecker::Outcome outcome, bool fullRun)
{
    if (!fullRun) {
        if (outcome != LinkChecker::Outcome::Cancelled)
            showSingleResult();
        return;
    }
    switch (outcome) {
    case LinkChecker::Outcome::Completed:
        if (m_window)
            m_window->hide();
        OnLinkReport();
        break;
    case LinkChecker::Outcome::Offline:
        if (m_window) {
            m_window->showOffline();
            m_window->show();
        }
        break;
    case LinkChecker::Outcome::Cancelled:
        if (m_window)
            m_window->hide();
        if (m_hooks.status)
            m_hooks.status(QStringLiteral("Link check cancelled; what was found so far is kept."));
        break;
    }
}

void LinkCheckCommands::showSingleResult()
{
    const LinkResult* result = m_controller.store().find(m_singleUrl);
    const QString text =
        m_controller.checker().isOffline()
            ? QStringLiteral("The computer seems to be offline: %1 was not checked.")
                  .arg(m_singleName.trimmed())
            : (result ? LinkFinding::ToolTip(*result) : QString());
    if (text.isEmpty())
        return;
    if (m_hooks.status)
        m_hooks.status(m_singleName.trimmed() + QStringLiteral(": ") + text);
    if (!m_tree || !m_tree->isVisible())
        return;
    // Shown beside the item the user asked about, when it is still on screen.
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        if (m_tree->urlOf(*it) != m_singleUrl || (*it)->text(0) != m_singleName)
            continue;
        const QRect rect = m_tree->visualItemRect(*it);
        if (!rect.isEmpty())
            QToolTip::showText(m_tree->viewport()->mapToGlobal(rect.bottomLeft()),
                               PlainText::ToolTip(text), m_tree->viewport(), rect, 8000);
        break;
    }
}
