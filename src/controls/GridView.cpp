#include "controls/GridView.h"

#include "controls/DatasetModel.h"
#include "controls/GridDelegate.h"
#include "controls/GridScrollBar.h"
#include "data/Dataset.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QProxyStyle>

namespace {

// The style of a grid's table. Cells paint their own background, so the style's panel under
// each cell (drawn by the table before the cell, with colours worked out afresh each time) is
// left out.
class GridStyle : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        if (element == PE_PanelItemViewRow)
            return;
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
};

} // namespace

GridView::GridView(QWidget* parent) : QTableView(parent)
{
    setHorizontalHeader(new GridHeader(this));
    setVerticalHeader(new RowIndicator(this));
    setItemDelegate(new GridDelegate(this));
    auto* style = new GridStyle;
    style->setParent(this);
    setStyle(style);
    setVerticalScrollBar(new GridScrollBar(Qt::Vertical, this));
    setHorizontalScrollBar(new GridScrollBar(Qt::Horizontal, this));
    // The delegate draws the cell borders itself: one-pixel fills cost far less than the
    // table's stroked grid lines.
    setShowGrid(false);
}

void GridView::setDatasetModel(DatasetModel* model)
{
    m_model = model;
    setModel(model);
}

GridHeader* GridView::columnHeader() const
{
    return static_cast<GridHeader*>(horizontalHeader());
}

bool GridView::recordLocked() const
{
    const Dataset* rows = m_model ? m_model->dataset() : nullptr;
    return rows && rows->isEditing();
}

void GridView::paintEvent(QPaintEvent* event)
{
    if (m_model)
        m_model->forgetRowStyle(); // styles are asked afresh on every paint
    QTableView::paintEvent(event);
    if (!m_model || m_model->rowCount() == 0 || horizontalHeader()->count() == 0)
        return;
    QPainter painter(viewport());
    drawCellBorders(painter, event->rect() & viewport()->rect());
}

void GridView::drawCellBorders(QPainter& painter, const QRect& area)
{
    const QHeaderView* columns = horizontalHeader();
    const QHeaderView* rows = verticalHeader();
    const int rowCount = m_model->rowCount();
    const int lastRow = rows->visualIndexAt(area.bottom()) < 0 ? rowCount - 1 : rows->visualIndexAt(area.bottom());
    const int firstRow = std::max(0, rows->visualIndexAt(area.top()));
    const int lastLogical = rows->logicalIndex(lastRow);
    const int bottom =
        std::min(area.bottom(), rows->sectionViewportPosition(lastLogical) + rows->sectionSize(lastLogical) - 1);
    int right = -1;
    for (int visual = 0; visual < columns->count(); ++visual) {
        const int logical = columns->logicalIndex(visual);
        if (!columns->isSectionHidden(logical))
            right = std::max(right, columns->sectionViewportPosition(logical) + columns->sectionSize(logical) - 1);
    }
    right = std::min(right, area.right());
    if (right < area.left() || bottom < area.top())
        return;

    const QColor line = palette().color(QPalette::Midlight).darker(115);
    for (int visual = 0; visual < columns->count(); ++visual) {
        const int logical = columns->logicalIndex(visual);
        if (columns->isSectionHidden(logical))
            continue;
        const int x = columns->sectionViewportPosition(logical) + columns->sectionSize(logical) - 1;
        if (x >= area.left() && x <= right)
            painter.fillRect(QRect(x, area.top(), 1, bottom - area.top() + 1), line);
    }
    for (int visual = firstRow; visual <= lastRow; ++visual) {
        const int logical = rows->logicalIndex(visual);
        const int y = rows->sectionViewportPosition(logical) + rows->sectionSize(logical) - 1;
        if (y >= area.top() && y <= bottom)
            painter.fillRect(QRect(area.left(), y, right - area.left() + 1, 1), line);
    }
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
