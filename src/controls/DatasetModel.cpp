#include "controls/DatasetModel.h"

#include "controls/GridColumn.h"
#include "data/DataSource.h"
#include "data/Dataset.h"

#include <QBrush>

namespace {

// Counts a change of the dataset being passed on, so that the grid does not take the view's
// own reaction to it (a current index shifted by a removed row) for the user moving.
struct Updating {
    explicit Updating(int& counter) : m_counter(counter) { ++m_counter; }
    ~Updating() { --m_counter; }
    int& m_counter;
};

} // namespace

DatasetModel::DatasetModel(QObject* parent) : QAbstractTableModel(parent)
{
    // Any change of rows or values may change a row's style.
    auto forget = [this] { forgetRowStyle(); };
    connect(this, &QAbstractItemModel::dataChanged, this, forget);
    connect(this, &QAbstractItemModel::modelReset, this, forget);
    connect(this, &QAbstractItemModel::rowsInserted, this, forget);
    connect(this, &QAbstractItemModel::rowsRemoved, this, forget);
}

DataSource* DatasetModel::dataSource() const
{
    return m_source;
}

Dataset* DatasetModel::dataset() const
{
    return m_source ? m_source->dataset() : nullptr;
}

void DatasetModel::setDataSource(DataSource* source)
{
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    if (source) {
        connect(source, &DataSource::reset, this, &DatasetModel::resetRows);
        connect(source, &DataSource::datasetChanged, this, &DatasetModel::resetRows);
        connect(source, &DataSource::rowInserted, this, &DatasetModel::rowInserted);
        connect(source, &DataSource::rowAboutToBeRemoved, this, &DatasetModel::rowAboutToBeRemoved);
        connect(source, &DataSource::rowRemoved, this, &DatasetModel::rowRemoved);
        connect(source, &DataSource::rowChanged, this, &DatasetModel::rowChanged);
        connect(source, &DataSource::fieldChanged, this, &DatasetModel::fieldChanged);
        connect(source, &DataSource::currentChanged, this, &DatasetModel::currentMoved);
        connect(source, &DataSource::stateChanged, this, [this] {
            if (m_marker >= 0 && m_marker < m_fetched)
                emit headerDataChanged(Qt::Vertical, m_marker, m_marker);
        });
    }
    resetRows();
}

void DatasetModel::setColumns(const QList<GridColumn*>& columns)
{
    beginResetModel();
    for (GridColumn* column : std::as_const(m_columns))
        disconnect(column, nullptr, this, nullptr);
    m_columns = columns;
    for (GridColumn* column : columns)
        connectColumn(column);
    resolveFields();
    endResetModel();
}

void DatasetModel::connectColumn(GridColumn* column)
{
    connect(column, &GridColumn::captionChanged, this, [this, column] {
        const int section = m_columns.indexOf(column);
        if (section >= 0)
            emit headerDataChanged(Qt::Horizontal, section, section);
        emit captionsChanged();
    });
    connect(column, &GridColumn::contentChanged, this, [this, column] {
        const int section = m_columns.indexOf(column);
        if (section >= 0 && m_fetched > 0)
            emit dataChanged(index(0, section), index(m_fetched - 1, section));
    });
}

std::optional<GridRowStyle> DatasetModel::rowStyleAt(int row) const
{
    if (!m_rowStyle)
        return std::nullopt;
    if (row != m_styleRow) {
        m_style = m_rowStyle(row);
        m_styleRow = row;
    }
    return m_style;
}

void DatasetModel::setRowStyle(RowStyle style)
{
    m_rowStyle = std::move(style);
    forgetRowStyle();
    if (m_fetched > 0 && !m_columns.isEmpty())
        emit dataChanged(index(0, 0), index(m_fetched - 1, m_columns.size() - 1),
                         {Qt::BackgroundRole, Qt::ForegroundRole});
}

void DatasetModel::resolveFields()
{
    m_fields.clear();
    Dataset* rows = dataset();
    for (GridColumn* column : std::as_const(m_columns))
        m_fields << (rows && rows->active() ? rows->fieldIndex(column->field()) : -1);
}

int DatasetModel::fieldIndexOf(int column) const
{
    return column >= 0 && column < m_fields.size() ? m_fields[column] : -1;
}

int DatasetModel::totalRows() const
{
    Dataset* rows = dataset();
    return rows && rows->active() ? rows->recordCount() : 0;
}

void DatasetModel::resetRows()
{
    Updating guard(m_updating);
    beginResetModel();
    resolveFields();
    Dataset* rows = dataset();
    const int current = rows && rows->active() ? rows->recNo() : -1;
    m_marker = current >= 0 ? current : -1;
    m_fetched = std::min(totalRows(), std::max(kBatch, m_marker + 1));
    endResetModel();
}

void DatasetModel::ensureFetched(int row)
{
    const int last = std::min(row, totalRows() - 1);
    if (last < m_fetched)
        return;
    Updating guard(m_updating);
    beginInsertRows(QModelIndex(), m_fetched, last);
    m_fetched = last + 1;
    endInsertRows();
}

void DatasetModel::rowInserted(int row)
{
    Updating guard(m_updating);
    if (row > m_fetched) {
        ensureFetched(row); // the rows before it and the new one come into view together
        return;
    }
    beginInsertRows(QModelIndex(), row, row);
    ++m_fetched;
    if (m_marker >= row)
        ++m_marker;
    endInsertRows();
}

void DatasetModel::rowAboutToBeRemoved(int row)
{
    if (row >= m_fetched || m_removing >= 0)
        return;
    ++m_updating; // until the row is gone
    m_removing = row;
    beginRemoveRows(QModelIndex(), row, row);
}

void DatasetModel::rowRemoved(int row)
{
    Updating guard(m_updating);
    if (m_removing < 0) {
        // Removed without notice: announce it now.
        if (row >= m_fetched)
            return;
        beginRemoveRows(QModelIndex(), row, row);
    } else {
        row = m_removing;
        m_removing = -1;
        --m_updating;
    }
    --m_fetched;
    if (m_marker == row)
        m_marker = -1;
    else if (m_marker > row)
        --m_marker;
    endRemoveRows();
    // Keep the view filled as far as it was.
    if (m_fetched < kBatch && m_fetched < totalRows())
        ensureFetched(std::min(kBatch, totalRows()) - 1);
}

void DatasetModel::rowChanged(int row)
{
    Updating guard(m_updating);
    if (row >= 0 && row < m_fetched && !m_columns.isEmpty())
        emit dataChanged(index(row, 0), index(row, m_columns.size() - 1));
}

void DatasetModel::fieldChanged(int field)
{
    Dataset* rows = dataset();
    if (!rows)
        return;
    const int row = rows->recNo();
    if (row < 0 || row >= m_fetched)
        return;
    // A field can style the whole row, so the row is repainted, not only its cell.
    Q_UNUSED(field);
    if (!m_columns.isEmpty())
        emit dataChanged(index(row, 0), index(row, m_columns.size() - 1));
}

void DatasetModel::currentMoved(int row)
{
    Updating guard(m_updating);
    ensureFetched(row);
    moveMarker(row);
}

void DatasetModel::moveMarker(int row)
{
    const int old = m_marker;
    m_marker = row;
    if (old >= 0 && old < m_fetched)
        emit headerDataChanged(Qt::Vertical, old, old);
    if (row >= 0 && row < m_fetched && row != old)
        emit headerDataChanged(Qt::Vertical, row, row);
}

QVariant DatasetModel::cellValue(int row, int column) const
{
    Dataset* rows = dataset();
    const int field = fieldIndexOf(column);
    if (!rows || field < 0 || row < 0 || row >= rows->recordCount())
        return {};
    return m_columns[column]->shownValue(rows->valueAt(row, field));
}

QString DatasetModel::cellText(int row, int column) const
{
    Dataset* rows = dataset();
    const int field = fieldIndexOf(column);
    if (!rows || field < 0 || row < 0 || row >= rows->recordCount())
        return {};
    return m_columns[column]->shownText(rows->valueAt(row, field));
}

int DatasetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_fetched;
}

int DatasetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_columns.size();
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_fetched || index.column() >= m_columns.size())
        return {};
    const GridColumn* column = m_columns[index.column()];
    switch (role) {
    case Qt::DisplayRole:
        return cellText(index.row(), index.column());
    case Qt::EditRole:
        return cellValue(index.row(), index.column());
    case Qt::CheckStateRole:
        if (column->kind() == GridColumn::Kind::CheckBox) {
            const QVariant value = cellValue(index.row(), index.column());
            const bool on = value.typeId() == QMetaType::QString
                                ? value.toString().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0
                                : value.toBool();
            return on ? Qt::Checked : Qt::Unchecked;
        }
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(column->alignment());
    case Qt::BackgroundRole:
    case Qt::ForegroundRole: {
        const std::optional<GridRowStyle> style = rowStyleAt(index.row());
        if (!style)
            return {};
        const QColor color = role == Qt::BackgroundRole ? style->background : style->text;
        return color.isValid() ? QVariant(QBrush(color)) : QVariant();
    }
    default:
        return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= m_columns.size())
            return {};
        if (role == Qt::DisplayRole)
            return m_columns[section]->caption();
        if (role == Qt::InitialSortOrderRole)
            return Qt::AscendingOrder;
        return {};
    }
    if (role != Qt::DisplayRole || section != m_marker)
        return {};
    // The row indicator: the current record, marked by what is being done with it.
    Dataset* rows = dataset();
    if (rows && rows->state() == DatasetState::Insert)
        return QStringLiteral("*");
    if (rows && rows->state() == DatasetState::Edit)
        return QStringLiteral("I");
    return QStringLiteral("▶");
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}

bool DatasetModel::canFetchMore(const QModelIndex& parent) const
{
    // Not while a change is being passed on: the rows it brings are already being counted.
    return !parent.isValid() && m_updating == 0 && m_fetched < totalRows();
}

void DatasetModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid() || m_updating > 0)
        return;
    ensureFetched(m_fetched + kBatch - 1);
}

bool DatasetModel::checkInvariant() const
{
    if (m_fetched < 0 || m_fetched > totalRows())
        return false;
    Dataset* rows = dataset();
    const int current = rows && rows->active() ? rows->recNo() : -1;
    return m_marker == current && current < m_fetched;
}
