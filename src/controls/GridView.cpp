#include "controls/GridView.h"

#include "controls/DatasetModel.h"
#include "controls/GridColumn.h"
#include "controls/GridScrollBar.h"
#include "data/Dataset.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QProxyStyle>

RowIndicator::RowIndicator(QWidget* parent) : QHeaderView(Qt::Vertical, parent)
{
    setSectionResizeMode(QHeaderView::Fixed);
    setSectionsClickable(false);
    setDefaultAlignment(Qt::AlignCenter);
    setFixedWidth(16);
}

QSize RowIndicator::sizeHint() const
{
    return {16, defaultSectionSize()};
}

namespace {

// The frame of a header section: the face, and a line at its right and bottom edges.
void drawSectionFrame(QPainter* painter, const QRect& rect, const QPalette& colors)
{
    painter->fillRect(rect, colors.color(QPalette::Button));
    const QColor line = colors.color(QPalette::Mid);
    painter->fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), line);
    painter->fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), line);
}

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

void RowIndicator::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    drawSectionFrame(painter, rect, palette());
    const QString mark = model() ? model()->headerData(logicalIndex, Qt::Vertical).toString() : QString();
    if (mark.isEmpty())
        return;
    painter->setPen(palette().color(QPalette::ButtonText));
    m_marks.draw(painter, rect, Qt::AlignHCenter, m_marks.line(mark, font()));
}

GridHeader::GridHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    connect(this, &QHeaderView::sectionCountChanged, this, &GridHeader::remeasure);
}

QSize GridHeader::sizeHint() const
{
    if (!m_hint.isValid())
        m_hint = QHeaderView::sizeHint();
    return m_hint;
}

void GridHeader::remeasure()
{
    m_hint = QSize();
    updateGeometry();
}

void GridHeader::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        m_hint = QSize();
    QHeaderView::changeEvent(event);
}

void GridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    drawSectionFrame(painter, rect, palette());
    const bool sorted = isSortIndicatorShown() && sortIndicatorSection() == logicalIndex;
    const QRect area = rect.adjusted(4, 0, sorted ? -14 : -4, -1);
    const QString caption = model() ? model()->headerData(logicalIndex, Qt::Horizontal).toString() : QString();
    if (!caption.isEmpty()) {
        const CellText::Line* line = &m_captions.line(caption, font());
        if (line->width > area.width())
            line = &m_captions.elided(caption, area.width(), font()); // fits: no clip needed
        painter->setPen(palette().color(QPalette::ButtonText));
        m_captions.draw(painter, area, Qt::AlignHCenter, *line);
    }
    if (sorted) {
        // A small triangle: point up for ascending, down for descending.
        const QPoint centre(rect.right() - 8, rect.center().y());
        const bool up = sortIndicatorOrder() == Qt::AscendingOrder;
        const QPoint mark[3] = {centre + QPoint(-4, up ? 2 : -2), centre + QPoint(4, up ? 2 : -2),
                                centre + QPoint(0, up ? -2 : 2)};
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, true);
        painter->setPen(Qt::NoPen);
        painter->setBrush(palette().color(QPalette::ButtonText));
        painter->drawPolygon(mark, 3);
        painter->restore();
    }
}

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

GridDelegate::GridDelegate(GridView* view) : QStyledItemDelegate(view), m_view(view) {}

// Cells are painted straight from the dataset: a background, one line of text (elided when it
// does not fit) or a check mark. The general item delegate lays every cell's text out as a
// paragraph, which costs several times more for a grid of short values.
void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const DatasetModel* model = m_view->datasetModel();
    if (!model || index.column() >= model->columns().size()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const GridColumn* column = model->columns()[index.column()];
    const QPalette& colors = option.palette;
    const bool selected = (option.state & QStyle::State_Selected) && m_view->hasFocus();
    const std::optional<GridRowStyle> style = model->rowStyleAt(index.row());
    QColor text = colors.color(QPalette::Text);
    if (selected) {
        painter->fillRect(option.rect, colors.brush(QPalette::Active, QPalette::Highlight));
        text = colors.color(QPalette::Active, QPalette::HighlightedText);
    } else if (style) {
        if (style->background.isValid())
            painter->fillRect(option.rect, style->background);
        if (style->text.isValid() && (option.state & QStyle::State_Enabled))
            text = style->text;
    }

    if (column->kind() == GridColumn::Kind::CheckBox) {
        const QVariant value = model->cellValue(index.row(), index.column());
        const bool on = value.typeId() == QMetaType::QString
                            ? value.toString().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0
                            : value.toBool();
        // The box is white in every row: on the selection colour the tick keeps the text colour.
        drawCheck(painter, option, on, selected ? colors.color(QPalette::Text) : text);
        return;
    }
    const QString shown = model->cellText(index.row(), index.column());
    if (shown.isEmpty())
        return;
    const QRect area = option.rect.adjusted(4, 0, -5, -1);
    const CellText::Line* line = &m_texts.line(shown, option.font);
    if (line->width > area.width())
        line = &m_texts.elided(shown, area.width(), option.font);
    painter->setPen(text);
    m_texts.draw(painter, area, QStyle::visualAlignment(option.direction, column->alignment()), *line);
}

void GridDelegate::drawCheck(QPainter* painter, const QStyleOptionViewItem& option, bool on, const QColor& ink) const
{
    const int side = std::min(13, option.rect.height() - 4);
    const QRect box(option.rect.center().x() - side / 2, option.rect.center().y() - side / 2, side, side);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->fillRect(box, option.palette.color(QPalette::Base));
    painter->setPen(option.palette.color(QPalette::Mid));
    painter->drawRect(box.adjusted(0, 0, -1, -1));
    if (on) {
        painter->setRenderHint(QPainter::Antialiasing, true);
        QPen pen(ink, 2);
        painter->setPen(pen);
        QPainterPath mark;
        mark.moveTo(box.left() + side * 0.22, box.top() + side * 0.52);
        mark.lineTo(box.left() + side * 0.42, box.top() + side * 0.74);
        mark.lineTo(box.left() + side * 0.80, box.top() + side * 0.28);
        painter->drawPath(mark);
    }
    painter->restore();
}
