#include "controls/GridHeaders.h"

#include <QEvent>
#include <QPainter>

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
