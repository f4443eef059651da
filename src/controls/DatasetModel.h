#pragma once

#include "support/SharedValues.h"

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>
#include <functional>
#include <optional>

class DataSource;
class Dataset;
class GridColumn;

// A read-only table model over the rows of a data source's dataset, one model column per grid
// column. Rows are handed to the view in batches as it scrolls (canFetchMore / fetchMore), so
// a dataset of any size shows at once; the dataset itself reads row values only when a cell
// asks for them. The model follows the dataset: reopening and sorting reset it, an insert adds
// the pending row, cancel and delete remove a row, a post or a set field repaints the row.
class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kBatch = 256;
    using RowStyle = std::function<std::optional<GridRowStyle>(int row)>;

    explicit DatasetModel(QObject* parent = nullptr);

    void setDataSource(DataSource* source);
    DataSource* dataSource() const;
    Dataset* dataset() const;

    void setColumns(const QList<GridColumn*>& columns);
    const QList<GridColumn*>& columns() const { return m_columns; }
    // Index of the column's field in the open dataset, -1 when missing.
    int fieldIndexOf(int column) const;

    void setRowStyle(RowStyle style);
    // The style of a row; the last row asked is remembered until the model changes or a new
    // paint begins (cells are painted row by row).
    std::optional<GridRowStyle> rowStyleAt(int row) const;
    void forgetRowStyle() const { m_styleRow = -1; }

    // Rows of the dataset, whether handed to the view yet or not.
    int totalRows() const;
    // Hands the view every row up to and including this one.
    void ensureFetched(int row);
    // The value a cell shows (a looked-up value for look-up columns, a date for date columns,
    // the stored value otherwise), for any row of the dataset.
    QVariant cellValue(int row, int column) const;
    QString cellText(int row, int column) const;
    // True while the model passes a change of the dataset on to the view.
    bool isUpdating() const { return m_updating > 0; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // The fetched rows never exceed the dataset's rows; the marker row is the current record.
    bool checkInvariant() const;

signals:
    // A column's caption changed (the header measures its height again).
    void captionsChanged();

private:
    void resetRows();
    void resolveFields();
    void rowInserted(int row);
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void fieldChanged(int field);
    void currentMoved(int row);
    void moveMarker(int row);
    void connectColumn(GridColumn* column);

    QPointer<DataSource> m_source;
    QList<GridColumn*> m_columns;
    QList<int> m_fields;
    RowStyle m_rowStyle;
    int m_fetched = 0;
    int m_marker = -1;
    int m_updating = 0;
    int m_removing = -1; // the row announced as going and not yet gone
    mutable int m_styleRow = -1;
    mutable std::optional<GridRowStyle> m_style;
};
