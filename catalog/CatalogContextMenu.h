// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class CLeftView;

class QTreeWidgetItem;

// What a right-click in the tree is about.
struct CatalogMenuContext
{
    // Valid while the menu is being built; entries that act later keep the name and url.
    QTreeWidgetItem* item = nullptr;
    QString name;
    // Empty for nodes and for favorites without an address.
    QString url;
    bool favorite = false;
    // A folder of My Favorites, or My Favorites itself.
    bool folder = false;
};

// The tree's right-click menu, also opened with the Menu key and Shift+F10 for the current
// item. It is built anew each time from sections, separated by lines; the first holds
// "Open", "Open in Your Browser" and "Copy Address", and other parts of the program add
// theirs. A right-click does not select, so it never opens a site by itself.
class CatalogContextMenu : public QObject
{
    Q_OBJECT

public:
    using Section = std::function<void(QMenu& menu, const CatalogMenuContext& context)>;

    explicit CatalogContextMenu(CLeftView* view);
    ~CatalogContextMenu() override;

    // Adds a section below those added before.
    void addSection(Section section);

    // Shows the menu for an item (without waiting for it to close).
    void popup(QTreeWidgetItem* item, const QPoint& globalPos);
    // The menu on show, if any.
    [[nodiscard]] QMenu* menu() const { return m_menu; }

    [[nodiscard]] CatalogMenuContext contextFor(QTreeWidgetItem* item) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void addOwnEntries(QMenu& menu, const CatalogMenuContext& context);
    void popupForCurrent();

    QPointer<CLeftView> m_view;
    QList<Section> m_sections;
    QPointer<QMenu> m_menu;
};
