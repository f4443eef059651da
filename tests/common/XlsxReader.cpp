#include "common/XlsxReader.h"

#include <QFile>
#include <QXmlStreamReader>
#include <archive.h>
#include <archive_entry.h>

namespace {

// "BC12" → column 54 (0-based), row 11 (0-based).
bool parseReference(QStringView reference, int& row, int& column)
{
    column = 0;
    int i = 0;
    while (i < reference.size() && reference[i].isLetter()) {
        column = column * 26 + (reference[i].toUpper().unicode() - 'A' + 1);
        ++i;
    }
    bool ok = false;
    row = reference.mid(i).toInt(&ok) - 1;
    column -= 1;
    return ok && row >= 0 && column >= 0;
}

// The text of the element the reader stands on, joining every <t> inside it (rich text runs).
QString joinedText(QXmlStreamReader& xml)
{
    QString text;
    const QString element = xml.name().toString();
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("t"))
            text += xml.readElementText();
        else if (xml.isEndElement() && xml.name() == element)
            break;
    }
    return text;
}

} // namespace

XlsxReader::XlsxReader(const QString& path)
{
    archive* zip = archive_read_new();
    archive_read_support_format_zip(zip);
    if (archive_read_open_filename(zip, QFile::encodeName(path).constData(), 64 * 1024) != ARCHIVE_OK) {
        m_error = QStringLiteral("cannot open %1: %2").arg(path, QString::fromUtf8(archive_error_string(zip)));
        archive_read_free(zip);
        return;
    }
    archive_entry* entry = nullptr;
    int rc;
    while ((rc = archive_read_next_header(zip, &entry)) == ARCHIVE_OK) {
        QByteArray data;
        char buffer[64 * 1024];
        la_ssize_t size;
        while ((size = archive_read_data(zip, buffer, sizeof buffer)) > 0)
            data.append(buffer, size);
        if (size < 0) {
            m_error = QStringLiteral("damaged entry %1").arg(QString::fromUtf8(archive_entry_pathname(entry)));
            break;
        }
        m_parts.insert(QString::fromUtf8(archive_entry_pathname(entry)), data);
    }
    if (m_error.isEmpty() && rc != ARCHIVE_EOF)
        m_error = QStringLiteral("damaged archive: %1").arg(QString::fromUtf8(archive_error_string(zip)));
    archive_read_free(zip);
    if (!m_error.isEmpty())
        return;
    if (!m_parts.contains(QStringLiteral("xl/worksheets/sheet1.xml"))) {
        m_error = QStringLiteral("no first sheet");
        return;
    }
    readSharedStrings();
    readStyles();
    readSheet();
}

void XlsxReader::readSharedStrings()
{
    QXmlStreamReader xml(m_parts.value(QStringLiteral("xl/sharedStrings.xml")));
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("si"))
            m_sharedStrings << joinedText(xml);
    }
    if (xml.hasError() && !m_parts.value(QStringLiteral("xl/sharedStrings.xml")).isEmpty())
        m_error = QStringLiteral("sharedStrings.xml: ") + xml.errorString();
}

void XlsxReader::readStyles()
{
    QMap<int, QString> formats = {{0, QStringLiteral("General")}};
    QXmlStreamReader xml(m_parts.value(QStringLiteral("xl/styles.xml")));
    bool inCellFormats = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("numFmt")) {
            formats.insert(xml.attributes().value(QLatin1String("numFmtId")).toInt(),
                           xml.attributes().value(QLatin1String("formatCode")).toString());
        } else if (xml.isStartElement() && xml.name() == QLatin1String("cellXfs")) {
            inCellFormats = true;
        } else if (xml.isEndElement() && xml.name() == QLatin1String("cellXfs")) {
            inCellFormats = false;
        } else if (inCellFormats && xml.isStartElement() && xml.name() == QLatin1String("xf")) {
            const int id = xml.attributes().value(QLatin1String("numFmtId")).toInt();
            m_styleFormats << formats.value(id, QStringLiteral("builtin %1").arg(id));
        }
    }
    if (xml.hasError())
        m_error = QStringLiteral("styles.xml: ") + xml.errorString();
}

void XlsxReader::readSheet()
{
    QXmlStreamReader xml(m_parts.value(QStringLiteral("xl/worksheets/sheet1.xml")));
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement() || xml.name() != QLatin1String("c"))
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        int row = 0;
        int column = 0;
        if (!parseReference(attributes.value(QLatin1String("r")), row, column)) {
            m_error = QStringLiteral("cell without a reference");
            return;
        }
        Cell cell;
        cell.exists = true;
        cell.type = attributes.value(QLatin1String("t")).toString();
        const int style = attributes.value(QLatin1String("s")).toInt();
        cell.format = style < m_styleFormats.size() ? m_styleFormats[style] : QStringLiteral("General");
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("v"))
                cell.value = xml.readElementText();
            else if (xml.isStartElement() && xml.name() == QLatin1String("is"))
                cell.value = joinedText(xml);
            else if (xml.isEndElement() && xml.name() == QLatin1String("c"))
                break;
        }
        if (cell.type == QLatin1String("s")) {
            const int index = cell.value.toInt();
            cell.value = index >= 0 && index < m_sharedStrings.size() ? m_sharedStrings[index] : QString();
        }
        m_rows[row].insert(column, cell);
    }
    if (xml.hasError())
        m_error = QStringLiteral("sheet1.xml: ") + xml.errorString();
}

int XlsxReader::rowCount() const
{
    for (auto row = m_rows.constEnd(); row != m_rows.constBegin();) {
        --row;
        if (!row->isEmpty())
            return row.key() + 1;
    }
    return 0;
}

XlsxReader::Cell XlsxReader::cell(int row, int column) const
{
    return m_rows.value(row).value(column);
}

QStringList XlsxReader::rowValues(int row) const
{
    const QMap<int, Cell> cells = m_rows.value(row);
    QStringList values;
    if (cells.isEmpty())
        return values;
    for (int column = 0; column <= cells.lastKey(); ++column)
        values << cells.value(column).value;
    return values;
}
