#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QRawFont>

class QPainter;

// Single lines of plain text for grid cells and headers, laid out once per font and drawn many
// times. Chinese, Latin, digits and common punctuation take a direct path: the font's own glyphs
// and advances, no paragraph layout. Anything else (a character the font lacks, marks that
// combine, text that runs right to left) is drawn by the painter's full text layout each time.
class CellText {
public:
    struct Line {
        QGlyphRun glyphs; // the direct path, when it has glyphs
        QString text;     // otherwise, for the full layout
        qreal width = 0;
    };

    // The text laid out for the font. Kept until the font changes or many texts were seen.
    const Line& line(const QString& text, const QFont& font);
    // The text shortened with an ellipsis to fit the width, laid out.
    const Line& elided(const QString& text, int width, const QFont& font);

    // Draws a line into the area: vertically centred, placed as the alignment says.
    void draw(QPainter* painter, const QRect& area, Qt::Alignment alignment, const Line& line) const;

private:
    void useFont(const QFont& font);
    bool layDirectly(const QString& text, Line& line) const;

    QFont m_font;
    QFontMetricsF m_metrics{QFont()};
    QRawFont m_raw;
    qreal m_ascent = 0;
    qreal m_height = 0;
    QHash<QString, Line> m_lines;
    QHash<QPair<QString, int>, QString> m_elided;
};
