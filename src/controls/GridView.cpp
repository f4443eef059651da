#include "controls/GridView.h"

#include "controls/DatasetModel.h"
#include "controls/GridColumn.h"
#include "data/Dataset.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

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

} // namespace

void RowIndicator::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    drawSectionFrame(painter, rect, palette());
    const QString mark = model() ? model()->headerData(logicalIndex, Qt::Vertical).toString() : QString();
    if (mark.isEmpty())
        return;
    painter->setPen(palette().color(QPalette::ButtonText));
    painter->drawText(rect, Qt::AlignCenter, mark);
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
        if (font() != m_captionFont) {
            m_captions.clear();
            m_captionFont = font();
        }
        auto found = m_captions.find(caption);
        if (found == m_captions.end()) {
            QStaticText line(caption);
            line.setTextFormat(Qt::PlainText);
            line.prepare(QTransform(), font());
            found = m_captions.insert(caption, line);
        }
        const QSizeF size = found->size();
        painter->save();
        painter->setClipRect(area);
        painter->setPen(palette().color(QPalette::ButtonText));
        painter->drawStaticText(QPointF(area.left() + std::max(0.0, (area.width() - size.width()) / 2),
                                        area.top() + (area.height() - size.height()) / 2),
                                *found);
        painter->restore();
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
        drawBorders(painter, option);
        drawCheck(painter, option, on, text);
        return;
    }
    drawBorders(painter, option);
    const QString shown = model->cellText(index.row(), index.column());
    if (shown.isEmpty())
        return;
    const QRect area = option.rect.adjusted(4, 0, -5, -1);
    const QStaticText* line = &prepared(shown, option.font);
    int width = qCeil(line->size().width());
    if (width > area.width()) {
        line = &elided(shown, area.width(), option);
        width = qCeil(line->size().width());
    }
    const Qt::Alignment align = QStyle::visualAlignment(option.direction, column->alignment());
    int x = area.left();
    if (align & Qt::AlignRight)
        x = area.right() + 1 - width;
    else if (align & Qt::AlignHCenter)
        x = area.left() + (area.width() - width) / 2;
    const int y = area.top() + (area.height() - qCeil(line->size().height())) / 2;
    painter->setPen(text);
    painter->drawStaticText(QPoint(x, y), *line);
}

const QStaticText& GridDelegate::prepared(const QString& text, const QFont& font) const
{
    if (font != m_textFont || m_texts.size() > 4096) {
        m_texts.clear();
        m_elided.clear();
        m_textFont = font;
    }
    auto found = m_texts.find(text);
    if (found == m_texts.end()) {
        QStaticText line(text);
        line.setTextFormat(Qt::PlainText);
        line.prepare(QTransform(), font);
        found = m_texts.insert(text, line);
    }
    return found.value();
}

const QStaticText& GridDelegate::elided(const QString& text, int width, const QStyleOptionViewItem& option) const
{
    const QPair<QString, int> key(text, width);
    auto found = m_elided.find(key);
    if (found == m_elided.end())
        found = m_elided.insert(key, option.fontMetrics.elidedText(text, Qt::ElideRight, width));
    return prepared(found.value(), option.font);
}

void GridDelegate::drawBorders(QPainter* painter, const QStyleOptionViewItem& option) const
{
    const QColor line = option.palette.color(QPalette::Midlight).darker(115);
    const QRect& cell = option.rect;
    painter->fillRect(QRect(cell.right(), cell.top(), 1, cell.height()), line);
    painter->fillRect(QRect(cell.left(), cell.bottom(), cell.width(), 1), line);
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
