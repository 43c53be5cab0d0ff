// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CatalogContextMenu.h"

#include "CLeftView.h"
#include "platform/ExternalBrowser.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>

CatalogContextMenu::CatalogContextMenu(CLeftView* view) : QObject(view), m_view(view)
{
    view->installEventFilter(this);
    view->viewport()->installEventFilter(this);
    addSection(
        [this](QMenu& menu, const CatalogMenuContext& context) { addOwnEntries(menu, context); });
}

CatalogContextMenu::~CatalogContextMenu()
{
    delete m_menu;
}

void CatalogContextMenu::addSection(Section section)
{
    m_sections.append(std::move(section));
}

CatalogMenuContext CatalogContextMenu::contextFor(QTreeWidgetItem* item) const
{
    CatalogMenuContext context;
    if (!item || !m_view)
        return context;
    context.item = item;
    context.name = item->text(0);
    context.url = m_view->urlOf(item);
    context.favorite = m_view->IsFavorite(item);
    context.folder = m_view->IsFolder(item) || m_view->IsFavoritesNode(item);
    return context;
}

void CatalogContextMenu::popup(QTreeWidgetItem* item, const QPoint& globalPos)
{
    if (!m_view || !item)
        return;
    delete m_menu;
    m_menu = new QMenu(m_view);
    m_menu->setAttribute(Qt::WA_DeleteOnClose);
    const CatalogMenuContext context = contextFor(item);
    for (const Section& section : std::as_const(m_sections)) {
        if (!m_menu->isEmpty() && !m_menu->actions().constLast()->isSeparator())
            m_menu->addSeparator();
        section(*m_menu, context);
    }
    if (!m_menu->isEmpty() && m_menu->actions().constLast()->isSeparator())
        m_menu->removeAction(m_menu->actions().constLast());
    // The root and the folders offer nothing.
    if (m_menu->isEmpty()) {
        delete m_menu;
        return;
    }
    m_menu->popup(globalPos);
}

void CatalogContextMenu::addOwnEntries(QMenu& menu, const CatalogMenuContext& context)
{
    if (context.item->childCount() > 0 || context.folder)
        return;
    const bool hasUrl = !context.url.isEmpty();
    QPointer<CLeftView> view = m_view;
    // The tree may be rebuilt before an entry is chosen: the item is found again by place.
    const QPersistentModelIndex place(m_view->indexFromItem(context.item));
    const QString url = context.url;

    QAction* open = menu.addAction(QStringLiteral("&Open"), this, [view, place] {
        if (view && place.isValid())
            view->OpenItem(view->itemFromIndex(place));
    });
    open->setEnabled(hasUrl);
    menu.setDefaultAction(open);
    menu.addAction(QStringLiteral("Open in Your &Browser"), this,
                   [url] { ExternalBrowser::Open(QUrl(url)); })
        ->setEnabled(hasUrl);
    menu.addAction(QStringLiteral("&Copy Address"), this,
                   [url] { QGuiApplication::clipboard()->setText(url); })
        ->setEnabled(hasUrl);
}

void CatalogContextMenu::popupForCurrent()
{
    QTreeWidgetItem* item = m_view->currentItem();
    if (!item)
        return;
    m_view->scrollToItem(item);
    const QRect rect = m_view->visualItemRect(item);
    popup(item, m_view->viewport()->mapToGlobal(QPoint(rect.left() + 16, rect.bottom())));
}

bool CatalogContextMenu::eventFilter(QObject* watched, QEvent* event)
{
    // Other events pass untouched, before the tree is looked at: those it gets while it is
    // being destroyed come when it is no longer a tree.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::ContextMenu:
    case QEvent::KeyPress:
        break;
    default:
        return false;
    }
    if (!m_view)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // A right-click points at an item for the menu; it does not select (and open) it.
        return watched == m_view->viewport() &&
               static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
    case QEvent::ContextMenu: {
        auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        if (menuEvent->reason() == QContextMenuEvent::Mouse) {
            const QPoint at = m_view->viewport()->mapFromGlobal(menuEvent->globalPos());
            popup(m_view->itemAt(at), menuEvent->globalPos());
        } else if (!(m_menu && m_menu->isVisible())) {
            popupForCurrent();
        }
        return true;
    }
    case QEvent::KeyPress: {
        if (watched != m_view)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool menuKey = key->key() == Qt::Key_Menu;
        const bool shiftF10 = key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier;
        if (!menuKey && !shiftF10)
            return false;
        popupForCurrent();
        return true;
    }
    default:
        return false;
    }
}
