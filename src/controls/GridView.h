#pragma once

#include "controls/GridHeaders.h"

#include <QTableView>

class DatasetModel;

// The table inside a data grid: its own headers, scroll bars and cell painter (GridDelegate).
// It hides the selection while it has no focus, draws the lines between the cells, and lets
// Ctrl+End reach the last record of the dataset, not only the last row handed to the view so
// far. While the record is being edited the selection stays on it.
class GridView : public QTableView {
    Q_OBJECT
public:
    explicit GridView(QWidget* parent = nullptr);

    void setDatasetModel(DatasetModel* model);
    GridHeader* columnHeader() const;
    DatasetModel* datasetModel() const { return m_model; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

private:
    bool recordLocked() const;
    // The lines between the cells, drawn once for the rows and columns in view.
    void drawCellBorders(QPainter& painter, const QRect& area);

    DatasetModel* m_model = nullptr;
};
