#pragma once

#include "controls/CellText.h"

#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableView>

class DatasetModel;

// The row indicator down the left of a grid: fixed-width sections marking the current record.
// Its size never depends on the rows, so a change of the rows never measures them.
class RowIndicator : public QHeaderView {
    Q_OBJECT
public:
    explicit RowIndicator(QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    mutable CellText m_marks;
};

// The column header of a grid. Its height is measured from the captions once, not again at
// every reopening of the rows (which resets the model but leaves the captions as they are).
class GridHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit GridHeader(QWidget* parent = nullptr);
    QSize sizeHint() const override;
    // The captions or the columns changed: measure again.
    void remeasure();

protected:
    void changeEvent(QEvent* event) override;
    // Flat sections: the caption centred, the sort mark at the right.
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    mutable QSize m_hint;
    mutable CellText m_captions;
};

// The table inside a data grid. It hides the selection while it has no focus, draws check box
// columns with the mark centred, and lets Ctrl+End reach the last record of the dataset, not
// only the last row handed to the view so far. While the record is being edited the selection
// stays on it.
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

class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit GridDelegate(GridView* view);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    void drawCheck(QPainter* painter, const QStyleOptionViewItem& option, bool on, const QColor& ink) const;

    // Texts laid out once for the font: a list repeats the same values from row to row.
    mutable CellText m_texts;

    GridView* m_view;
};
