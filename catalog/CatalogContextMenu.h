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
    // Valid while the menu is being built; entries that act later keep what they need.
    QTreeWidgetItem* item = nullptr;
    QString name;
    // Empty for the root, the folders and a favorite without an address.
    QString url;
};

// The tree's right-click menu, also opened with the Menu key and Shift+F10 on the current
// item. It is built anew each time, from sections separated by lines: its own "Open",
// "Open in Your Browser" and "Copy Address" first, then what other parts of the program
// add. A right-click points at an item without selecting it, so it opens nothing by itself.
class CatalogContextMenu : public QObject
{
    Q_OBJECT

public:
    using Section = std::function<void(QMenu& menu, const CatalogMenuContext& context)>;

    explicit CatalogContextMenu(CLeftView* view);
    ~CatalogContextMenu() override;

    // Adds a section below those added before.
    void addSection(Section section);

    // Shows the menu for an item and returns at once.
    void popup(QTreeWidgetItem* item, const QPoint& globalPos);
    // The menu on show, if any.
    [[nodiscard]] QMenu* menu() const { return m_menu; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    [[nodiscard]] CatalogMenuContext contextFor(QTreeWidgetItem* item) const;
    void addOwnEntries(QMenu& menu, const CatalogMenuContext& context);
    void popupForCurrent();

    QPointer<CLeftView> m_view;
    QList<Section> m_sections;
    QPointer<QMenu> m_menu;
};
