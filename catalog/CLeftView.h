#pragma once

#include "platform/View.h"

#include <QCollator>
#include <QHash>
#include <QTimer>
#include <QTreeWidget>

#include <vector>

class CKestrinNewsReaderDoc;
class QFontMetrics;
class Profile;
struct CatalogEntry;

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
    // Deletes every item and builds the whole tree again: mode 2 by kind of outlet, any
    // other by area (National, World, the states).
    void RebuildTree(int mode);

    QTreeWidgetItem* AddSite(QTreeWidgetItem* parent, const QString& name, const QString& url);
    void AddNationalCatalog(QTreeWidgetItem* root);
    void AddWorldCatalog(QTreeWidgetItem* root);
    void AddStatesCatalog(QTreeWidgetItem* root);
    // One node per kind, each holding its sites grouped as in the catalog by area.
    void AddContentCatalog(QTreeWidgetItem* root);

    // The URL stored for an item-data index; empty for 0 or an unused index.
    [[nodiscard]] QString urlAt(int index) const;
    // The built-in entry behind an item-data index; nullptr for favorites and nodes.
    [[nodiscard]] const CatalogEntry* catalogEntryAt(int index) const;
    [[nodiscard]] int nextIndex() const { return m_nNextIndex; }

    // Opens the selected item again, as selecting it did.
    void OpenSelected();
    [[nodiscard]] QString urlOf(const QTreeWidgetItem* item) const
    {
        return item ? urlAt(item->data(0, kIndexRole).toInt()) : QString();
    }
    // Opens an item as selecting it does, also when it is selected already.
    void OpenItem(QTreeWidgetItem* item);

    // Widest visible row, indentation included: the column's width.
    [[nodiscard]] int sizeHintForColumn(int column) const override;
    // Fits the column to the visible rows once the current changes are done.
    void ScheduleColumnFit();

signals:
    // The tree was built anew: every item is new.
    void treeRebuilt();
    // The user chose a site or favorite: the browser pane should show its address.
    void openRequested(const QString& url);

protected:
    void OnSelchanged(QTreeWidgetItem* item);
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QTreeWidgetItem* AppendNode(QTreeWidgetItem* parent, const QString& text);
    QTreeWidgetItem* AddEntry(QTreeWidgetItem* parent, const CatalogEntry& entry);
    void Expand(QTreeWidgetItem* node);
    void FitColumn();
    [[nodiscard]] int RowWidth(QTreeWidgetItem* item) const;
    [[nodiscard]] int TextAdvance(const QString& text, const QFontMetrics& metrics) const;

    Profile& m_profile;
    // Grows with the favorites, so every one of them gets a slot; slot 0 is never used.
    std::vector<QString> m_strURLTable;
    int m_nNextIndex = 0;
    QCollator m_collator;
    // Beside the URL table: the built-in entry of each slot (none for favorites).
    std::vector<const CatalogEntry*> m_entries;
    // Measured row widths by item-data index, -1 until measured; cleared with the items.
    mutable std::vector<int> m_rowWidths;
    // Character advances in the view's font, for ranking rows by width.
    mutable QHash<char16_t, int> m_charAdvances;
    QTimer m_fitTimer;
    QList<QTreeWidgetItem*> m_expandAfterBuild;
};
