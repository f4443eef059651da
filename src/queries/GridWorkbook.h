#pragma once

#include "controls/DataGrid.h"
#include "controls/GridColumn.h"

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>

class Dataset;
struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;
class QVariant;

// Writes what a grid shows into an .xlsx workbook: the visible columns in screen order with
// their captions as the first row, then every record of the grid's dataset, each cell in its
// native type. Rows go to disk as they are written (constant memory), so a list of any size
// costs the same memory. Reports failures as Chinese reasons and shows nothing itself.
class GridWorkbook {
public:
    explicit GridWorkbook(const DataGrid& grid);
    ~GridWorkbook();
    GridWorkbook(const GridWorkbook&) = delete;
    GridWorkbook& operator=(const GridWorkbook&) = delete;

    // Records of the dataset (data rows of the sheet).
    int recordCount() const;
    // The most data rows a sheet can take (one row is the header).
    static int maximumRecords();

    // Starts the workbook at the path; nothing is on disk under that name until finish().
    bool begin(const QString& path, QString* reason);
    enum class Outcome { Written, Stopped, Failed };
    // Writes the header and every record. Every `step` records `progress(recordsDone)` is
    // asked whether to go on; false stops the writing (and so does the dataset going away).
    Outcome writeRows(int step, const std::function<bool(int)>& progress, QString* reason);
    // Puts the workbook together and writes the file. Touches no Qt object, so it may run on
    // another thread.
    bool finish(QString* reason);
    // Drops everything written so far; the file is not written.
    void discard();

private:
    struct Column {
        GridColumn* column;
        GridColumn::Kind kind;
        int field;
    };

    void writeHeader();
    void writeCell(std::uint32_t row, std::uint16_t column, const Column& plan, const QVariant& value);
    void writeValue(std::uint32_t row, std::uint16_t column, const QVariant& value);
    void writeText(std::uint32_t row, std::uint16_t column, const QString& text);
    // True when the rows written so far reached the scratch file intact.
    bool rowsIntact(QString* reason);

    QPointer<const DataGrid> m_grid; // owns the columns
    QPointer<Dataset> m_dataset;
    QList<Column> m_columns;
    QList<double> m_widths;
    QByteArray m_tempFolder;
    lxw_workbook* m_workbook = nullptr;
    lxw_worksheet* m_sheet = nullptr;
    lxw_format* m_header = nullptr;
    lxw_format* m_date = nullptr;
    lxw_format* m_dateTime = nullptr;
    lxw_format* m_currency = nullptr;
};

// The reason for a failed file operation, from the system's error number, in Chinese; empty
// when the number says nothing useful.
QString systemErrorReason(int errorNumber);
