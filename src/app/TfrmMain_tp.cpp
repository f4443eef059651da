#include "app/TfrmMain_tp.h"

#include <QPainter>
#include <QSvgRenderer>

TfrmMain_tp::TfrmMain_tp(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TfrmMain_tp"));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
}

void TfrmMain_tp::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    static QSvgRenderer picture(QStringLiteral(":/pictures/home.svg"));
    picture.setAspectRatioMode(Qt::IgnoreAspectRatio);
    picture.render(&painter, rect());
}
