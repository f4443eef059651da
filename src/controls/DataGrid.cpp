#include "controls/DataGrid.h"

#include "controls/GridFooter.h"
#include "controls/GridView.h"
#include "controls/Guarded.h"
#include "data/DataSource.h"
#include "data/Dataset.h"
#include "support/SharedValues.h"

#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QVBoxLayout>

DataGrid::DataGrid(QWidget* parent)
    : QWidget(parent), m_model(new DatasetModel(this)), m_view(new GridView(this)), m_footer(new GridFooter(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_footer);

    m_view->setObjectName(QStringLiteral("view"));
    m_view->setDatasetModel(m_model);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setWordWrap(false);
    m_view->setCornerButtonEnabled(false);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    m_view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    // Sideways by pixels: a step by whole columns would throw a wide column out of view at once.
    m_view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFocusProxy(m_view);

    const int rowHeight = m_view->fontMetrics().height() + 6;
    QHeaderView* rows = m_view->verticalHeader();
    rows->setMinimumSectionSize(rowHeight);
    rows->setDefaultSectionSize(rowHeight);

    QHeaderView* header = m_view->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignCenter);
    connect(header, &QHeaderView::sortIndicatorChanged, this, &DataGrid::sortRequested);
    connect(header, &QHeaderView::sectionResized, this, &DataGrid::updateFooter);
    connect(header, &QHeaderView::sectionMoved, this, &DataGrid::updateFooter);
    connect(header, &QHeaderView::geometriesChanged, this, &DataGrid::updateFooter);
    connect(m_view->horizontalScrollBar(), &QScrollBar::valueChanged, this, &DataGrid::updateFooter);
    connect(m_model, &QAbstractItemModel::modelReset, this, &DataGrid::updateFooter);
    connect(m_model, &DatasetModel::captionsChanged, m_view->columnHeader(), &GridHeader::remeasure);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &DataGrid::updateFooter);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &DataGrid::updateFooter);

    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { viewMoved(current); });
    connect(m_view, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        if (m_menu)
            m_menu->popup(m_view->viewport()->mapToGlobal(position));
    });
}

DataGrid::~DataGrid() = default;

void DataGrid::setDataSource(DataSource* source)
{
    if (DataSource* old = m_model->dataSource())
        disconnect(old, nullptr, this, nullptr);
    // The model hears of a change before the grid, so the grid selects in the updated rows.
    m_model->setDataSource(source);
    if (source) {
        connect(source, &DataSource::currentChanged, this, &DataGrid::followDataset);
        connect(source, &DataSource::reset, this, &DataGrid::datasetReset);
        connect(source, &DataSource::datasetChanged, this, &DataGrid::datasetReset);
        connect(source, &DataSource::rowInserted, this, &DataGrid::updateFooter);
        connect(source, &DataSource::rowRemoved, this, &DataGrid::updateFooter);
    }
    datasetReset();
}

DataSource* DataGrid::dataSource() const
{
    return m_model->dataSource();
}

Dataset* DataGrid::dataset() const
{
    return m_model->dataset();
}

QTableView* DataGrid::view() const
{
    return m_view;
}

GridColumn& DataGrid::addColumn(const QString& name, const QString& caption, const QString& field,
                                GridColumn::Kind kind)
{
    return adopt(new GridColumn(name, caption, field, kind, this));
}

GridColumn& DataGrid::addLookupColumn(const QString& name, const QString& caption, const QString& field,
                                      DataSource* source, const QString& keyField, const QString& displayField)
{
    GridColumn& column = adopt(new GridColumn(name, caption, field, GridColumn::Kind::Lookup, this));
    column.setLookup(source, keyField, displayField);
    return column;
}

GridColumn& DataGrid::adopt(GridColumn* column)
{
    m_columns << column;
    m_model->setColumns(m_columns);
    m_view->columnHeader()->remeasure();
    for (GridColumn* each : std::as_const(m_columns))
        applyLayout(each);
    connect(column, &GridColumn::layoutChanged, this, [this, column] { applyLayout(column); });
    connect(column, &GridColumn::contentChanged, this, &DataGrid::updateFooter);
    followDataset(dataset() ? dataset()->recNo() : -1);
    return *column;
}

void DataGrid::applyLayout(GridColumn* column)
{
    const int section = m_columns.indexOf(column);
    if (section < 0)
        return;
    m_view->setColumnHidden(section, !column->isVisible());
    int width = column->width();
    if (width <= 0)
        width = std::max(64, m_view->horizontalHeader()->fontMetrics().horizontalAdvance(column->caption()) + 32);
    m_view->setColumnWidth(section, width);
    updateFooter();
}

GridColumn* DataGrid::column(const QString& name) const
{
    for (GridColumn* column : m_columns)
        if (column->objectName() == name)
            return column;
    return nullptr;
}

QList<GridColumn*> DataGrid::visibleColumns() const
{
    QList<GridColumn*> shown;
    const QHeaderView* header = m_view->horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int section = header->logicalIndex(visual);
        if (section >= 0 && section < m_columns.size() && !header->isSectionHidden(section))
            shown << m_columns[section];
    }
    return shown;
}

QVariant DataGrid::cellValue(int row, const GridColumn* column) const
{
    return m_model->cellValue(row, m_columns.indexOf(const_cast<GridColumn*>(column)));
}

QString DataGrid::cellText(int row, const GridColumn* column) const
{
    return m_model->cellText(row, m_columns.indexOf(const_cast<GridColumn*>(column)));
}

void DataGrid::setRowStyle(DatasetModel::RowStyle style)
{
    m_model->setRowStyle(std::move(style));
}

void DataGrid::highlightRowsWhere(const QString& booleanField)
{
    setRowStyle([this, booleanField](int row) -> std::optional<GridRowStyle> {
        Dataset* rows = dataset();
        const int field = rows ? rows->fieldIndex(booleanField) : -1;
        if (field < 0)
            return std::nullopt;
        const QVariant value = rows->valueAt(row, field);
        if (value.typeId() == QMetaType::Bool ? value.toBool() : value.toLongLong() != 0)
            return Shared().HighlightStyle;
        return std::nullopt;
    });
}

void DataGrid::setContextMenu(QMenu* menu)
{
    if (m_menu)
        for (QAction* action : m_menu->actions())
            removeAction(action);
    m_menu = menu;
    if (menu)
        addActions(menu->actions());
}

QMenu* DataGrid::contextMenu() const
{
    return m_menu;
}

QString DataGrid::footerText(const QString& columnName) const
{
    const GridColumn* found = column(columnName);
    return found ? found->footerText(m_model->totalRows()) : QString();
}

void DataGrid::setFooterVisible(bool visible)
{
    m_footer->setVisible(visible);
}

void DataGrid::setRowIndicatorVisible(bool visible)
{
    m_view->verticalHeader()->setVisible(visible);
    updateFooter();
}

void DataGrid::updateFooter()
{
    m_footer->update();
}

void DataGrid::datasetReset()
{
    if (!m_sorting) {
        // A reopened row set is in the statement's order again.
        const QSignalBlocker quiet(m_view->horizontalHeader());
        m_view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    }
    followDataset(dataset() && dataset()->active() ? dataset()->recNo() : -1);
    updateFooter();
}

void DataGrid::followDataset(int row)
{
    if (m_following)
        return;
    m_following = true;
    QItemSelectionModel* selection = m_view->selectionModel();
    if (row < 0 || m_columns.isEmpty()) {
        selection->clear();
    } else {
        m_model->ensureFetched(row);
        int column = m_view->currentIndex().column();
        if (column < 0 || m_view->isColumnHidden(column))
            column = m_view->horizontalHeader()->logicalIndex(0);
        for (int visual = 0; column >= 0 && m_view->isColumnHidden(column) && visual < m_columns.size(); ++visual)
            column = m_view->horizontalHeader()->logicalIndex(visual);
        const QModelIndex target = m_model->index(row, std::max(column, 0));
        selection->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_view->scrollTo(target);
    }
    m_following = false;
}

void DataGrid::viewMoved(const QModelIndex& current)
{
    if (m_following || m_model->isUpdating() || !current.isValid())
        return;
    Dataset* rows = dataset();
    if (!rows || !rows->active())
        return;
    runGuarded([&] { rows->moveTo(current.row()); });
    if (rows->recNo() != current.row())
        followDataset(rows->recNo()); // the record being edited stays current
}

void DataGrid::sortRequested(int section, Qt::SortOrder order)
{
    Dataset* rows = dataset();
    const int field = m_model->fieldIndexOf(section);
    if (!rows || !rows->active() || field < 0 || rows->isEditing()) {
        const QSignalBlocker quiet(m_view->horizontalHeader());
        m_view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
        return;
    }
    m_sorting = true;
    runGuarded([&] { rows->sortBy(field, order); });
    m_sorting = false;
}
