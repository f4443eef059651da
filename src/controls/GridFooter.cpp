#include "controls/GridFooter.h"

#include "controls/DataGrid.h"
#include "controls/GridColumn.h"
#include "controls/GridView.h"

#include <QHeaderView>
#include <QPainter>

GridFooter::GridFooter(DataGrid* grid) : QWidget(grid), m_grid(grid)
{
    setObjectName(QStringLiteral("footer"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
}

QSize GridFooter::sizeHint() const
{
    return {100, fontMetrics().height() + 8};
}

void GridFooter::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QTableView* view = m_grid->view();
    const QHeaderView* header = view->horizontalHeader();
    const int offset = view->frameWidth() + (view->verticalHeader()->isVisible() ? view->verticalHeader()->width() : 0);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(0, 0, width(), 0);
    painter.setClipRect(offset, 0, width() - offset - view->frameWidth(), height());
    const QList<GridColumn*>& columns = m_grid->columns();
    for (int section = 0; section < columns.size(); ++section) {
        if (header->isSectionHidden(section) || !columns[section]->hasFooter())
            continue;
        const QRect cell(offset + header->sectionViewportPosition(section), 1, header->sectionSize(section),
                         height() - 1);
        const QRect box = cell.adjusted(1, 2, -1, -2);
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        const QString text = m_grid->footerText(columns[section]->objectName());
        if (text.isEmpty())
            continue;
        const QRect area = box.adjusted(4, 0, -4, 0);
        const CellText::Line* line = &m_texts.line(text, font());
        if (line->width > area.width())
            line = &m_texts.elided(text, area.width(), font());
        painter.setPen(palette().color(QPalette::ButtonText));
        m_texts.draw(&painter, area, Qt::AlignLeft, *line);
    }
}
