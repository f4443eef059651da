#pragma once

#include <QScrollBar>

// A grid's scroll bar, drawn flat: a groove, a handle and two arrow buttons. It keeps the
// style's geometry (so clicks, dragging and sizes are the style's own) but paints with a few
// fills instead of the style's gradients, which cost a grid as much as a screen of its text.
class GridScrollBar : public QScrollBar {
    Q_OBJECT
public:
    GridScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawArrowButton(QPainter& painter, const QRect& button, bool pointsForward, bool pressed) const;
};
