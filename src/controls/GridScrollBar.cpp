#include "controls/GridScrollBar.h"

#include <QPainter>
#include <QStyleOptionSlider>

GridScrollBar::GridScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent) {}

void GridScrollBar::paintEvent(QPaintEvent*)
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    QPainter painter(this);
    const QPalette& colors = palette();
    painter.fillRect(rect(), colors.color(QPalette::Window).darker(110)); // the groove, darker than the handle

    const auto part = [&](QStyle::SubControl control) {
        return style()->subControlRect(QStyle::CC_ScrollBar, &option, control, this);
    };
    const auto pressed = [&](QStyle::SubControl control) {
        return (option.activeSubControls & control) && (option.state & QStyle::State_Sunken);
    };
    drawArrowButton(painter, part(QStyle::SC_ScrollBarSubLine), false, pressed(QStyle::SC_ScrollBarSubLine));
    drawArrowButton(painter, part(QStyle::SC_ScrollBarAddLine), true, pressed(QStyle::SC_ScrollBarAddLine));

    if (maximum() == minimum())
        return; // nothing to scroll: no handle, as the style shows it
    const QRect handle = part(QStyle::SC_ScrollBarSlider).adjusted(1, 1, -1, -1);
    if (handle.isEmpty())
        return;
    const QColor face = colors.color(QPalette::Button);
    painter.fillRect(handle, pressed(QStyle::SC_ScrollBarSlider) ? face.darker(115) : face);
    painter.setPen(colors.color(QPalette::Mid));
    painter.drawRect(handle.adjusted(0, 0, -1, -1));
}

void GridScrollBar::drawArrowButton(QPainter& painter, const QRect& button, bool pointsForward, bool pressed) const
{
    if (button.isEmpty())
        return;
    const QPalette& colors = palette();
    const QColor face = colors.color(QPalette::Button);
    painter.fillRect(button, pressed ? face.darker(115) : face);
    painter.setPen(colors.color(QPalette::Mid));
    painter.drawRect(button.adjusted(0, 0, -1, -1));

    // A small solid triangle in the middle, pointing along the bar.
    const QPoint centre = button.center();
    const int half = std::max(2, std::min(button.width(), button.height()) / 4);
    const int sign = pointsForward ? 1 : -1;
    QPoint mark[3];
    if (orientation() == Qt::Vertical) {
        mark[0] = centre + QPoint(-half, -sign * half / 2);
        mark[1] = centre + QPoint(half, -sign * half / 2);
        mark[2] = centre + QPoint(0, sign * half / 2 + sign);
    } else {
        mark[0] = centre + QPoint(-sign * half / 2, -half);
        mark[1] = centre + QPoint(-sign * half / 2, half);
        mark[2] = centre + QPoint(sign * half / 2 + sign, 0);
    }
    const QColor ink = colors.color(isEnabled() && maximum() != minimum() ? QPalette::Active : QPalette::Disabled,
                                    QPalette::ButtonText);
    painter.setPen(ink);
    painter.setBrush(ink);
    painter.drawPolygon(mark, 3);
    painter.setBrush(Qt::NoBrush); // the frames drawn after this one stay hollow
}
