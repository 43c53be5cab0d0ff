#include "CatalogContextMenu.h"

#include "CLeftView.h"
#include "platform/ExternalBrowser.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QUrl>

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
    context.item = item;
    context.name = item->text(0);
    context.url = m_view->urlAt(item->data(0, CLeftView::kIndexRole).toInt());
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
    if (context.item->childCount() > 0)
        return;
    const QString url = context.url;
    QPointer<CLeftView> view = m_view;
    QTreeWidgetItem* item = context.item;
    QAction* open = menu.addAction(QStringLiteral("&Open"), &menu, [view, item] {
        if (!view)
            return;
        // Selecting opens it; the item selected already opens again.
        if (view->currentItem() == item && item->isSelected())
            view->OpenSelected();
        else
            view->setCurrentItem(item);
    });
    menu.setDefaultAction(open);
    menu.addAction(QStringLiteral("Open in Your &Browser"), &menu,
                   [url] { ExternalBrowser::Open(QUrl(url)); });
    menu.addAction(QStringLiteral("&Copy Address"), &menu,
                   [url] { QGuiApplication::clipboard()->setText(url); });
    for (QAction* action : menu.actions())
        action->setEnabled(!url.isEmpty());
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
    if (!m_view)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return watched == m_view->viewport() &&
               static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
    case QEvent::ContextMenu: {
        const auto* request = static_cast<QContextMenuEvent*>(event);
        if (request->reason() == QContextMenuEvent::Mouse)
            popup(m_view->itemAt(m_view->viewport()->mapFromGlobal(request->globalPos())),
                  request->globalPos());
        else
            popupForCurrent();
        return true;
    }
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (watched != m_view || key->key() != Qt::Key_F10 || key->modifiers() != Qt::ShiftModifier)
            return false;
        popupForCurrent();
        return true;
    }
    default:
        return false;
    }
}
