#include "controls/GridView.h"

#include "controls/DatasetModel.h"
#include "controls/GridColumn.h"
#include "data/Dataset.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

GridView::GridView(QWidget* parent) : QTableView(parent)
{
    setItemDelegate(new GridDelegate(this));
}

void GridView::setDatasetModel(DatasetModel* model)
{
    m_model = model;
    setModel(model);
}

bool GridView::recordLocked() const
{
    const Dataset* rows = m_model ? m_model->dataset() : nullptr;
    return rows && rows->isEditing();
}

void GridView::mousePressEvent(QMouseEvent* event)
{
    if (recordLocked()) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void GridView::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    viewport()->update();
}

void GridView::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    viewport()->update();
}

QModelIndex GridView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    if (recordLocked())
        return currentIndex();
    if (m_model && (cursorAction == MoveEnd && (modifiers & Qt::ControlModifier)))
        m_model->ensureFetched(m_model->totalRows() - 1);
    return QTableView::moveCursor(cursorAction, modifiers);
}

GridDelegate::GridDelegate(GridView* view) : QStyledItemDelegate(view), m_view(view) {}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    if (!m_view->hasFocus())
        item.state &= ~QStyle::State_Selected;
    QStyle* style = item.widget ? item.widget->style() : QApplication::style();

    const DatasetModel* model = m_view->datasetModel();
    const bool checkColumn = model && index.column() < model->columns().size() &&
                             model->columns()[index.column()]->kind() == GridColumn::Kind::CheckBox;
    if (!checkColumn) {
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);
        return;
    }
    // Background and selection as for any cell, then the mark in the middle of the cell.
    const Qt::CheckState checked = item.checkState;
    item.features &= ~QStyleOptionViewItem::HasCheckIndicator;
    item.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);
    QStyleOptionViewItem mark(item);
    const int width = style->pixelMetric(QStyle::PM_IndicatorWidth, &item, item.widget);
    const int height = style->pixelMetric(QStyle::PM_IndicatorHeight, &item, item.widget);
    mark.rect = QStyle::alignedRect(item.direction, Qt::AlignCenter, QSize(width, height), item.rect);
    mark.state = (mark.state & ~(QStyle::State_On | QStyle::State_Off)) |
                 (checked == Qt::Checked ? QStyle::State_On : QStyle::State_Off);
    style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &mark, painter, item.widget);
}
