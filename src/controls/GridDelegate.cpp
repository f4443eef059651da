#include "controls/GridDelegate.h"

#include "controls/DatasetModel.h"
#include "controls/GridColumn.h"
#include "controls/GridView.h"

#include <QPainter>
#include <QPainterPath>

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
