#pragma once

#include "controls/CellText.h"

#include <QWidget>

class DataGrid;

// The footer row of a data grid: each column's summary drawn under that column, following the
// columns as they are resized, moved, hidden and scrolled.
class GridFooter : public QWidget {
    Q_OBJECT
public:
    explicit GridFooter(DataGrid* grid);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    DataGrid* m_grid;
    CellText m_texts;
};
