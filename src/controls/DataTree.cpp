#include "controls/DataTree.h"

#include "controls/Guarded.h"
#include "data/DataSource.h"
#include "data/Dataset.h"
#include "data/ValueConversion.h"

#include <QCollator>
#include <QHeaderView>
#include <QKeyEvent>
#include <algorithm>

namespace {

constexpr int kIdRole = Qt::UserRole;

QString idOf(const QTreeWidgetItem* item)
{
    return item ? item->data(0, kIdRole).toString() : QString();
}

} // namespace

DataTree::DataTree(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    setHeaderHidden(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setUniformRowHeights(true);
    header()->setStretchLastSection(true);
    connect(this, &QTreeWidget::currentItemChanged, this, [this] { nodeSelected(); });
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        if (!m_building)
            m_expanded.insert(idOf(item));
    });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
        if (!m_building)
            m_expanded.remove(idOf(item));
    });
}

void DataTree::setDataSource(DataSource* source)
{
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    if (source) {
        connect(source, &DataSource::reset, this, [this] { rebuildKeeping(true); });
        connect(source, &DataSource::datasetChanged, this, &DataTree::rebuild);
        connect(source, &DataSource::rowChanged, this, &DataTree::rebuild);
        connect(source, &DataSource::rowRemoved, this, &DataTree::rebuild);
        connect(source, &DataSource::rowInserted, this, &DataTree::rebuild);
        connect(source, &DataSource::currentChanged, this, &DataTree::followDataset);
    }
    rebuild();
}

DataSource* DataTree::dataSource() const
{
    return m_source;
}

Dataset* DataTree::dataset() const
{
    return m_source ? m_source->dataset() : nullptr;
}

void DataTree::setFields(const QString& keyField, const QString& parentField, const QString& textField)
{
    m_keyField = keyField;
    m_parentField = parentField;
    m_textField = textField;
    rebuild();
}

void DataTree::rebuild()
{
    rebuildKeeping(false);
}

void DataTree::rebuildKeeping(bool keepSelection)
{
    m_building = true;
    clear();
    m_items.clear();
    m_rows.clear();

    Dataset* rows = dataset();
    const int key = rows && rows->active() ? rows->fieldIndex(m_keyField) : -1;
    const int parentKey = rows && rows->active() ? rows->fieldIndex(m_parentField) : -1;
    const int text = rows && rows->active() ? rows->fieldIndex(m_textField) : -1;
    if (key >= 0 && text >= 0) {
        struct Node {
            QString id;
            QString parent;
            QString text;
        };
        QList<Node> nodes;
        for (int row = 0; row < rows->recordCount(); ++row) {
            const QVariant id = rows->valueAt(row, key);
            if (id.isNull())
                continue; // a record being inserted has no key yet
            Node node{ValueConversion::toText(id),
                      parentKey >= 0 ? ValueConversion::toText(rows->valueAt(row, parentKey)) : QString(),
                      ValueConversion::toText(rows->valueAt(row, text))};
            if (m_rows.contains(node.id))
                continue;
            m_rows.insert(node.id, row);
            nodes << node;
        }
        // Siblings in the order of their labels, as the system's collation orders Chinese.
        QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
        std::stable_sort(nodes.begin(), nodes.end(), [&collator](const Node& a, const Node& b) {
            const int order = collator.compare(a.text, b.text);
            return order != 0 ? order < 0 : a.text < b.text;
        });
        for (const Node& node : nodes) {
            auto* item = new QTreeWidgetItem(QStringList(node.text));
            item->setData(0, kIdRole, node.id);
            item->setToolTip(0, node.text);
            m_items.insert(node.id, item);
        }
        // A node whose parent is missing, or whose parent chain comes back to itself, is shown
        // at the top.
        QHash<QString, QString> parentOf;
        for (const Node& node : nodes)
            parentOf.insert(node.id, node.parent);
        auto cyclic = [&parentOf](const QString& id) {
            QString step = parentOf.value(id);
            for (int hops = 0; hops <= parentOf.size() && parentOf.contains(step); ++hops) {
                if (step == id)
                    return true;
                step = parentOf.value(step);
            }
            return false;
        };
        for (const Node& node : nodes) {
            QTreeWidgetItem* item = m_items.value(node.id);
            QTreeWidgetItem* parent = node.parent != node.id ? m_items.value(node.parent) : nullptr;
            if (parent && !cyclic(node.id))
                parent->addChild(item);
            else
                addTopLevelItem(item);
        }
        for (const QString& id : std::as_const(m_expanded))
            if (QTreeWidgetItem* item = m_items.value(id))
                item->setExpanded(true);
    }
    m_building = false;

    // Reopened rows start at the first record: the node that was selected stays selected and
    // its row current. Any other change follows the dataset's current record.
    if (keepSelection && m_items.contains(m_selectedId) && !rows->isEditing()) {
        selectById(m_selectedId);
    } else {
        followDataset(rows && rows->active() ? rows->recNo() : -1);
    }
}

void DataTree::followDataset(int row)
{
    if (m_building)
        return;
    Dataset* rows = dataset();
    QTreeWidgetItem* item = nullptr;
    if (rows && rows->active() && row >= 0) {
        const int key = rows->fieldIndex(m_keyField);
        if (key >= 0)
            item = m_items.value(ValueConversion::toText(rows->valueAt(row, key)));
    }
    if (item == currentItem())
        return;
    m_building = true;
    setCurrentItem(item);
    if (item)
        scrollToItem(item);
    m_building = false;
    if (item) {
        m_selectedId = idOf(item);
        emit selectedIdChanged(m_selectedId);
    } else if (rows && rows->active() && !rows->isEditing()) {
        m_selectedId.clear();
    }
}

void DataTree::nodeSelected()
{
    if (m_building)
        return;
    QTreeWidgetItem* item = currentItem();
    if (!item)
        return;
    m_selectedId = idOf(item);
    Dataset* rows = dataset();
    const int row = m_rows.value(m_selectedId, -1);
    if (rows && rows->active() && row >= 0) {
        runGuarded([&] { rows->moveTo(row); });
        if (rows->recNo() != row) {
            followDataset(rows->recNo()); // the record being edited stays current
            return;
        }
    }
    emit selectedIdChanged(m_selectedId);
}

QString DataTree::selectedId() const
{
    return currentItem() ? idOf(currentItem()) : QString();
}

bool DataTree::selectById(const QString& id)
{
    QTreeWidgetItem* item = m_items.value(id);
    if (!item)
        return false;
    if (item == currentItem()) {
        // Already selected: still make sure the dataset stands on it.
        nodeSelected();
        return true;
    }
    setCurrentItem(item);
    scrollToItem(item);
    return currentItem() == item;
}

QString DataTree::selectedParentText() const
{
    const QTreeWidgetItem* item = currentItem();
    return item && item->parent() ? item->parent()->text(0) : QString();
}

void DataTree::expandAll()
{
    QTreeWidget::expandAll();
    for (auto it = m_items.cbegin(); it != m_items.cend(); ++it)
        if (it.value()->childCount() > 0)
            m_expanded.insert(it.key());
}

void DataTree::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_F2) {
        event->ignore(); // read-only: no deleting or renaming in the tree
        return;
    }
    QTreeWidget::keyPressEvent(event);
}
