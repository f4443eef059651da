#include "controls/CellText.h"

#include <QPainter>

namespace {

constexpr qsizetype kMaxKept = 4096;

// Characters that need no shaping: each maps to one glyph drawn at the advance of the last.
bool isSimple(char16_t c)
{
    if (c < 0x20)
        return false;
    if (c < 0x7F)
        return true;
    if (c >= 0xA0 && c < 0x0300) // Latin-1 and Latin extended, spacing modifiers
        return true;
    if (c >= 0x2010 && c < 0x2028) // dashes, quotes, bullets, ellipsis
        return true;
    if (c >= 0x2030 && c < 0x205F)
        return true;
    if (c >= 0x2100 && c < 0x2200) // letter-like symbols, numerals, arrows
        return true;
    if (c >= 0x25A0 && c < 0x2600) // geometric shapes: the row marks
        return true;
    if (c >= 0x3000 && c < 0x3040) // CJK punctuation
        return true;
    if (c >= 0x3400 && c < 0x4DC0) // CJK extension A
        return true;
    if (c >= 0x4E00 && c < 0xA000) // CJK unified ideographs
        return true;
    return c >= 0xFF01 && c < 0xFFEF; // full-width forms
}

} // namespace

void CellText::useFont(const QFont& font)
{
    if (font == m_font && m_raw.isValid())
        return;
    m_font = font;
    m_raw = QRawFont::fromFont(font);
    m_metrics = QFontMetricsF(font);
    m_ascent = m_metrics.ascent();
    m_height = m_metrics.height();
    m_lines.clear();
    m_elided.clear();
}

bool CellText::layDirectly(const QString& text, Line& line) const
{
    if (!m_raw.isValid())
        return false;
    for (QChar c : text)
        if (!isSimple(c.unicode()))
            return false;
    const QList<quint32> indexes = m_raw.glyphIndexesForString(text);
    if (indexes.size() != text.size() || indexes.contains(0u))
        return false; // the font lacks a character: let the full layout find another font
    const QList<QPointF> advances = m_raw.advancesForGlyphIndexes(indexes, QRawFont::KernedAdvances);
    QList<QPointF> positions;
    positions.reserve(indexes.size());
    qreal x = 0;
    for (const QPointF& advance : advances) {
        positions << QPointF(x, 0);
        x += advance.x();
    }
    line.glyphs.setRawFont(m_raw);
    line.glyphs.setGlyphIndexes(indexes);
    line.glyphs.setPositions(positions);
    line.width = x;
    return true;
}

const CellText::Line& CellText::line(const QString& text, const QFont& font)
{
    useFont(font);
    if (m_lines.size() > kMaxKept) {
        m_lines.clear();
        m_elided.clear();
    }
    auto found = m_lines.find(text);
    if (found != m_lines.end())
        return found.value();
    Line line;
    if (!layDirectly(text, line)) {
        line.text = text;
        line.width = m_metrics.horizontalAdvance(text);
    }
    return m_lines.insert(text, line).value();
}

const CellText::Line& CellText::elided(const QString& text, int width, const QFont& font)
{
    useFont(font);
    const QPair<QString, int> key(text, width);
    auto found = m_elided.find(key);
    if (found == m_elided.end())
        found = m_elided.insert(key, QFontMetrics(font).elidedText(text, Qt::ElideRight, width));
    const QString shortened = found.value(); // line() may empty the table
    return line(shortened, font);
}

void CellText::draw(QPainter* painter, const QRect& area, Qt::Alignment alignment, const Line& line) const
{
    qreal x = area.left();
    if (alignment & Qt::AlignRight)
        x = area.right() + 1 - line.width;
    else if (alignment & Qt::AlignHCenter)
        x = area.left() + std::max(0.0, (area.width() - line.width) / 2);
    if (line.glyphs.glyphIndexes().isEmpty()) {
        painter->save();
        painter->setFont(m_font);
        painter->drawText(QRectF(qRound(x), area.top(), line.width + 1, area.height()),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line.text);
        painter->restore();
        return;
    }
    const qreal top = area.top() + qRound((area.height() - m_height) / 2);
    painter->drawGlyphRun(QPointF(qRound(x), top + m_ascent), line.glyphs);
}
