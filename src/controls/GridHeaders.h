#pragma once

#include "controls/CellText.h"

#include <QHeaderView>

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
