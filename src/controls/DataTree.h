#pragma once

#include <QHash>
#include <QPointer>
#include <QSet>
#include <QTreeWidget>

class DataSource;
class Dataset;

// A read-only tree over the rows of a data source: each row is a node, keyed by `id`, hung
// under the node whose key is its `main_tree` (top level when there is none) and labelled with
// `name`; siblings are in the order of their labels. Selecting a node makes its row the
// dataset's current record, and the tree follows the dataset: a move of the record selects its
// node, and reopening, inserting, posting and deleting rebuild the tree, keeping the selected
// node and the expanded ones where they still exist.
class DataTree : public QTreeWidget {
    Q_OBJECT
    Q_PROPERTY(int tag READ tag WRITE setTag)
public:
    explicit DataTree(QWidget* parent = nullptr);

    void setDataSource(DataSource* source);
    DataSource* dataSource() const;
    Dataset* dataset() const;
    // The fields of key, parent key and text; "id", "main_tree" and "name" unless changed.
    void setFields(const QString& keyField, const QString& parentField, const QString& textField);

    // The key of the selected node as text; empty when no node is selected.
    QString selectedId() const;
    // Selects the node of that key (and makes its row current); false when there is none.
    bool selectById(const QString& id);
    QTreeWidgetItem* itemForId(const QString& id) const { return m_items.value(id); }
    // The label of the selected node's parent; empty at the top or without a selection.
    QString selectedParentText() const;
    void expandAll();

    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

signals:
    void selectedIdChanged(const QString& id);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void rebuild();
    void rebuildKeeping(bool keepSelection);
    void followDataset(int row);
    void nodeSelected();

    QPointer<DataSource> m_source;
    QString m_keyField = QStringLiteral("id");
    QString m_parentField = QStringLiteral("main_tree");
    QString m_textField = QStringLiteral("name");
    QHash<QString, QTreeWidgetItem*> m_items;
    QHash<QString, int> m_rows;
    QSet<QString> m_expanded;
    QString m_selectedId;
    bool m_building = false;
    int m_tag = 0;
};
