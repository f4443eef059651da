#pragma once

#include "controls/DatasetModel.h"
#include "controls/GridColumn.h"

#include <QPointer>
#include <QWidget>

class DataSource;
class Dataset;
class GridFooter;
class GridView;
class QMenu;
class QTableView;

// A read-only data grid over a data source: column definitions, whole-row selection that
// follows the dataset's current record both ways (a click or a key moves the record, a move of
// the record moves the selection), a row indicator, a footer with row-count summaries, a
// per-row style, a context menu and sorting by a click on a column header (the open rows are
// reordered, the statement is not run again). One of the kinds that ToggleControls switches.
class DataGrid : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int tag READ tag WRITE setTag)
public:
    explicit DataGrid(QWidget* parent = nullptr);
    ~DataGrid() override;

    void setDataSource(DataSource* source);
    DataSource* dataSource() const;
    Dataset* dataset() const;

    GridColumn& addColumn(const QString& name, const QString& caption, const QString& field,
                          GridColumn::Kind kind = GridColumn::Kind::Plain);
    GridColumn& addLookupColumn(const QString& name, const QString& caption, const QString& field, DataSource* source,
                                const QString& keyField, const QString& displayField);
    // The column of that name; null when there is none.
    GridColumn* column(const QString& name) const;
    // Every column in definition order (the model's column order), hidden ones included.
    const QList<GridColumn*>& columns() const { return m_columns; }
    // The columns a reader sees, left to right as they stand on the screen.
    QList<GridColumn*> visibleColumns() const;

    // Every row of the dataset, whether shown yet or not, and what a column shows in it (a
    // looked-up value, a date for date columns, the stored value otherwise): for exports.
    int totalRows() const { return m_model->totalRows(); }
    QVariant cellValue(int row, const GridColumn* column) const;
    QString cellText(int row, const GridColumn* column) const;

    // Style of each row, asked when the row is painted; no value keeps the grid's style.
    void setRowStyle(DatasetModel::RowStyle style);
    // Rows whose boolean field is true are drawn in the shared highlight style.
    void highlightRowsWhere(const QString& booleanField);

    // The menu shown on a right click; its actions' shortcuts work while the grid's window is
    // active.
    void setContextMenu(QMenu* menu);
    QMenu* contextMenu() const;

    // The footer summary under the named column, as shown.
    QString footerText(const QString& columnName) const;
    void setFooterVisible(bool visible);
    void setRowIndicatorVisible(bool visible);

    QTableView* view() const;
    DatasetModel* model() const { return m_model; }
    GridFooter* footer() const { return m_footer; }

    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

private:
    GridColumn& adopt(GridColumn* column);
    void applyLayout(GridColumn* column);
    void followDataset(int row);
    void viewMoved(const QModelIndex& current);
    void sortRequested(int section, Qt::SortOrder order);
    void datasetReset();
    void updateFooter();

    DatasetModel* m_model;
    GridView* m_view;
    GridFooter* m_footer;
    QList<GridColumn*> m_columns;
    QPointer<QMenu> m_menu;
    bool m_following = false;
    bool m_sorting = false;
    int m_tag = 0;
};
