#pragma once

#include "controls/CellText.h"

#include <QStyledItemDelegate>

class GridView;

// Paints a grid's cells straight from its dataset.
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
