#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// A written workbook read back for checking: the cells of its first sheet with their types
// and number formats. The .xlsx container is opened with libarchive, its XML parts are read
// with QXmlStreamReader; strings are resolved whether shared or written inline.
class XlsxReader {
public:
    struct Cell {
        QString type;   // the cell's t attribute: "s", "inlineStr", "b", "str"; empty for a number
        QString value;  // the text of a string cell, "1" or "0" for a boolean, the number as written
        QString format; // the number format of its style, "General" when it has none
        bool exists = false;

        bool isString() const { return type == QLatin1String("s") || type == QLatin1String("inlineStr"); }
        bool isBoolean() const { return type == QLatin1String("b"); }
        bool isNumber() const { return exists && type.isEmpty(); }
        double number() const { return value.toDouble(); }
    };

    explicit XlsxReader(const QString& path);

    bool isValid() const { return m_error.isEmpty(); }
    const QString& error() const { return m_error; }
    QStringList entries() const { return m_parts.keys(); }

    // Rows up to the last one holding a cell.
    int rowCount() const;
    // 0-based; a cell that was not written reads as not existing.
    Cell cell(int row, int column) const;
    // The texts of the row's cells up to its last written one.
    QStringList rowValues(int row) const;

private:
    void readSharedStrings();
    void readStyles();
    void readSheet();

    QString m_error;
    QMap<QString, QByteArray> m_parts;
    QStringList m_sharedStrings;
    QList<QString> m_styleFormats;
    QMap<int, QMap<int, Cell>> m_rows;
};
