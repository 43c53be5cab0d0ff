#pragma once

#include "platform/View.h"

#include <QCollator>
#include <QTreeWidget>

#include <vector>

class CKestrinNewsReaderDoc;
class Profile;

// The left-hand pane: the catalog tree of favorites and built-in newspaper sites. Each item
// that leads somewhere carries an index into the view's URL table as its item data.
class CLeftView : public QTreeWidget, public View
{
    Q_OBJECT

public:
    // The item data role holding the URL-table index (0: no URL).
    static constexpr int kIndexRole = Qt::UserRole;

    explicit CLeftView(Profile& profile, QWidget* parent = nullptr);

    QWidget* widget() override { return this; }
    [[nodiscard]] CKestrinNewsReaderDoc* GetDocument() const;

    void OnInitialUpdate() override;
    // Deletes every item and builds the whole tree again; both modes build the same tree.
    void RebuildTree(int mode);

    QTreeWidgetItem* AddSite(QTreeWidgetItem* parent, const QString& name, const QString& url);
    void AddNationalCatalog(QTreeWidgetItem* root);
    void AddWorldCatalog(QTreeWidgetItem* root);
    void AddStatesCatalog(QTreeWidgetItem* root);

    // The URL stored for an item-data index; empty for 0 or an unused index.
    [[nodiscard]] QString urlAt(int index) const;
    [[nodiscard]] QString urlOf(const QTreeWidgetItem* item) const
    {
        return item ? urlAt(item->data(0, kIndexRole).toInt()) : QString();
    }
    // Opens an item as selecting it does, also when it is selected already.
    void OpenItem(QTreeWidgetItem* item);

    [[nodiscard]] int nextIndex() const { return m_nNextIndex; }

signals:
    // After every rebuild, once the whole tree is in place.
    void treeRebuilt();

protected:
    void OnSelchanged(QTreeWidgetItem* item);
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override;

private:
    QTreeWidgetItem* AppendNode(QTreeWidgetItem* parent, const QString& text);

    Profile& m_profile;
    // Grows with the favorites, so every one of them gets a slot; slot 0 is never used.
    std::vector<QString> m_strURLTable;
    int m_nNextIndex = 0;
    QCollator m_collator;
};
