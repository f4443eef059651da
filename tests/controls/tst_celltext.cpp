// Single-line cell texts: the direct glyph path must put its ink where the full text layout
// puts it, texts it cannot draw must still come out, and long texts are shortened to fit.

#include "controls/AppFont.h"
#include "controls/CellText.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QtTest>

namespace {

const QSize kCanvas(240, 40);
const QRect kArea(6, 4, 220, 30);

// The bounding box of every pixel darker than mid-grey.
QRect inkOf(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                box |= QRect(x, y, 1, 1);
    return box;
}

// An image with the screen's resolution, like the grid the texts are prepared for.
QImage blank()
{
    QImage image(kCanvas, QImage::Format_ARGB32_Premultiplied);
    const int dotsPerMeter = qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch() / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    return image;
}

} // namespace

class TestCellText : public QObject {
    Q_OBJECT

private slots:
    void drawsWhereTheFullLayoutDraws_data();
    void drawsWhereTheFullLayoutDraws();
    void longTextIsShortenedToFit();
    void changingTheFontLaysOutAgain();
};

void TestCellText::drawsWhereTheFullLayoutDraws_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<bool>("direct");
    QTest::newRow("chinese left") << QStringLiteral("住户一二三") << int(Qt::AlignLeft) << true;
    QTest::newRow("code right") << QStringLiteral("A101") << int(Qt::AlignRight) << true;
    QTest::newRow("currency right") << QStringLiteral("¥350.50") << int(Qt::AlignRight) << true;
    QTest::newRow("date centred") << QStringLiteral("2024-03-05") << int(Qt::AlignHCenter) << true;
    QTest::newRow("mixed") << QStringLiteral("第一车间 B栋（北）") << int(Qt::AlignLeft) << true;
    QTest::newRow("combining mark") << QStringLiteral("Jose\u0301 Li") << int(Qt::AlignLeft) << false;
    QTest::newRow("right to left") << QStringLiteral("\u05E9\u05DC\u05D5\u05DD") << int(Qt::AlignLeft) << false;
}

void TestCellText::drawsWhereTheFullLayoutDraws()
{
    QFETCH(QString, text);
    QFETCH(int, alignment);
    QFETCH(bool, direct);
    const QFont font = programFont();
    CellText texts;
    const CellText::Line& line = texts.line(text, font);
    QCOMPARE(!line.glyphs.glyphIndexes().isEmpty(), direct);

    QImage ours = blank();
    {
        QPainter painter(&ours);
        painter.setPen(Qt::black);
        texts.draw(&painter, kArea, Qt::Alignment(alignment), line);
    }
    QImage reference = blank();
    {
        QPainter painter(&reference);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(kArea, int(alignment) | Qt::AlignVCenter | Qt::TextSingleLine, text);
    }
    const QRect mine = inkOf(ours);
    const QRect theirs = inkOf(reference);
    QVERIFY2(!theirs.isEmpty(), "the reference drew nothing");
    QVERIFY2(!mine.isEmpty(), "nothing was drawn");
    const auto near = [](int a, int b) { return std::abs(a - b) <= 1; };
    QVERIFY2(near(mine.left(), theirs.left()) && near(mine.right(), theirs.right()) && near(mine.top(), theirs.top()) &&
                 near(mine.bottom(), theirs.bottom()),
             qPrintable(QStringLiteral("ink at (%1,%2 %3x%4), the layout's at (%5,%6 %7x%8)")
                            .arg(mine.x())
                            .arg(mine.y())
                            .arg(mine.width())
                            .arg(mine.height())
                            .arg(theirs.x())
                            .arg(theirs.y())
                            .arg(theirs.width())
                            .arg(theirs.height())));
    QVERIFY(std::abs(line.width - QFontMetricsF(font).horizontalAdvance(text)) <= 1.0);
}

void TestCellText::longTextIsShortenedToFit()
{
    const QFont font = programFont();
    CellText texts;
    const QString text = QStringLiteral("北京市东城区某某街道某某社区一号楼");
    const int width = 80;
    const CellText::Line& line = texts.elided(text, width, font);
    QVERIFY(line.width <= width);
    QVERIFY(line.width > width / 2);
    QImage image = blank();
    QPainter painter(&image);
    painter.setPen(Qt::black);
    texts.draw(&painter, QRect(0, 0, width, 30), Qt::AlignLeft, line);
    painter.end();
    QVERIFY(inkOf(image).right() < width);
}

void TestCellText::changingTheFontLaysOutAgain()
{
    QFont font = programFont();
    CellText texts;
    const qreal normal = texts.line(QStringLiteral("铺位编号"), font).width;
    font.setPointSize(font.pointSize() * 2);
    const qreal large = texts.line(QStringLiteral("铺位编号"), font).width;
    QVERIFY(large > normal * 1.8);
}

QTEST_MAIN(TestCellText)
#include "tst_celltext.moc"
