#include "queries/GridWorkbook.h"

#include "controls/DataGrid.h"
#include "data/Dataset.h"
#include "data/ValueConversion.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTableView>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <xlsxwriter.h>

namespace {

// What a cell of a workbook can hold, in characters.
constexpr int kMaxCellText = 32767;
// Integers with more digits than a workbook keeps exactly are written as text.
constexpr double kExactIntegers = 1e15;

QString libraryErrorReason(lxw_error error)
{
    switch (error) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
        return QStringLiteral("内存不足");
    case LXW_ERROR_CREATING_XLSX_FILE:
        return QStringLiteral("无法创建文件");
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE:
        return QStringLiteral("无法使用临时文件夹 %1").arg(QDir::toNativeSeparators(QDir::tempPath()));
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_PARAMETER_ERROR:
    case LXW_ERROR_ZIP_BAD_ZIP_FILE:
    case LXW_ERROR_ZIP_INTERNAL_ERROR:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
        return QStringLiteral("写入文件时出错");
    default:
        return QStringLiteral("写入文件时出错（错误代码 %1）").arg(int(error));
    }
}

bool isChecked(const QVariant& value)
{
    // As the grid draws its check boxes.
    if (value.typeId() == QMetaType::QString)
        return value.toString().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
    return value.toBool();
}

// Characters that XML cannot carry; a workbook holding one would not open.
QString withoutControlCharacters(const QString& text)
{
    QString clean;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 && c != '\t' && c != '\n' && c != '\r')
            continue;
        if (c.unicode() == 0xFFFE || c.unicode() == 0xFFFF)
            continue;
        clean += c;
    }
    return clean;
}

bool needsCleaning(const QString& text)
{
    for (const QChar c : text)
        if ((c.unicode() < 0x20 && c != '\t' && c != '\n' && c != '\r') || c.unicode() >= 0xFFFE)
            return true;
    return false;
}

} // namespace

QString systemErrorReason(int errorNumber)
{
    switch (errorNumber) {
    case ENOSPC:
        return QStringLiteral("磁盘空间不足");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("超出了磁盘配额");
#endif
    case EACCES:
    case EPERM:
        return QStringLiteral("没有写入权限");
    case EROFS:
        return QStringLiteral("磁盘是只读的");
    case EFBIG:
        return QStringLiteral("文件超过了系统允许的大小");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("文件夹不存在");
    case EISDIR:
        return QStringLiteral("同名的文件夹已经存在");
    case EBUSY:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
        return QStringLiteral("文件正被其他程序使用");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("打开的文件过多");
    case EIO:
        return QStringLiteral("磁盘读写错误");
    default:
        return {};
    }
}

GridWorkbook::GridWorkbook(const DataGrid& grid) : m_grid(&grid), m_dataset(grid.dataset())
{
    const QList<GridColumn*>& all = grid.columns();
    for (GridColumn* column : grid.visibleColumns()) {
        const int field = m_dataset && m_dataset->active() ? m_dataset->fieldIndex(column->field()) : -1;
        m_columns << Column{column, column->kind(), field};
        // About seven pixels make one character of a sheet column.
        double width = grid.view()->columnWidth(all.indexOf(column)) / 7.0;
        if (column->kind() == GridColumn::Kind::DateOnly)
            width = std::max(width, 11.0);
        else if (column->kind() == GridColumn::Kind::Plain && field >= 0 &&
                 m_dataset->fieldType(field) == FieldType::DateTime)
            width = std::max(width, 19.0);
        m_widths << std::clamp(width, 6.0, 80.0);
    }
}

GridWorkbook::~GridWorkbook()
{
    discard();
}

int GridWorkbook::recordCount() const
{
    return m_dataset && m_dataset->active() ? m_dataset->recordCount() : 0;
}

int GridWorkbook::maximumRecords()
{
    return LXW_ROW_MAX - 1;
}

bool GridWorkbook::begin(const QString& path, QString* reason)
{
    discard();
    m_tempFolder = QFile::encodeName(QDir::toNativeSeparators(QDir::tempPath()));
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = m_tempFolder.data();
    m_workbook = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    if (m_workbook)
        m_sheet = workbook_add_worksheet(m_workbook, "Sheet1");
    if (!m_workbook || !m_sheet) {
        discard();
        if (reason)
            *reason = libraryErrorReason(LXW_ERROR_CREATING_TMPFILE);
        return false;
    }
    m_header = workbook_add_format(m_workbook);
    format_set_bold(m_header);
    m_date = workbook_add_format(m_workbook);
    format_set_num_format(m_date, "yyyy-mm-dd");
    m_dateTime = workbook_add_format(m_workbook);
    format_set_num_format(m_dateTime, "yyyy-mm-dd hh:mm:ss");
    m_currency = workbook_add_format(m_workbook);
    format_set_num_format(m_currency, "\"¥\"#,##0.00");
    // Column layout and the frozen header go before the first row in constant-memory mode.
    for (int i = 0; i < m_widths.size(); ++i)
        worksheet_set_column(m_sheet, lxw_col_t(i), lxw_col_t(i), m_widths[i], nullptr);
    worksheet_freeze_panes(m_sheet, 1, 0);
    return true;
}

void GridWorkbook::writeHeader()
{
    for (int i = 0; i < m_columns.size(); ++i) {
        const QString caption = withoutControlCharacters(m_columns[i].column->caption());
        if (!caption.isEmpty())
            worksheet_write_string(m_sheet, 0, lxw_col_t(i), caption.toUtf8().constData(), m_header);
    }
}

GridWorkbook::Outcome GridWorkbook::writeRows(int step, const std::function<bool(int)>& progress, QString* reason)
{
    if (!m_sheet)
        return Outcome::Failed;
    writeHeader();
    const int total = recordCount();
    for (int row = 0; row < total; ++row) {
        if (step > 0 && row > 0 && row % step == 0) {
            if (!rowsIntact(reason))
                return Outcome::Failed;
            if (progress && !progress(row))
                return Outcome::Stopped;
        }
        // Events run during progress; the list may have been closed or shortened meanwhile.
        if (!m_grid || !m_dataset || !m_dataset->active() || row >= m_dataset->recordCount())
            return Outcome::Stopped;
        for (int i = 0; i < m_columns.size(); ++i) {
            const Column& plan = m_columns[i];
            if (plan.field >= 0)
                writeCell(lxw_row_t(row + 1), lxw_col_t(i), plan, m_dataset->valueAt(row, plan.field));
        }
    }
    if (!rowsIntact(reason))
        return Outcome::Failed;
    return !progress || progress(total) ? Outcome::Written : Outcome::Stopped;
}

bool GridWorkbook::rowsIntact(QString* reason)
{
    // In constant-memory mode finished rows go to a scratch file whose write errors the library
    // does not report; a full disk would otherwise give a workbook with rows missing.
    FILE* scratch = m_sheet ? m_sheet->optimize_tmpfile : nullptr;
    if (!scratch)
        return true;
    errno = 0;
    if (std::fflush(scratch) == 0 && !std::ferror(scratch))
        return true;
    if (reason) {
        const QString system = systemErrorReason(errno);
        *reason = system.isEmpty() ? libraryErrorReason(LXW_ERROR_CREATING_TMPFILE) : system;
    }
    return false;
}

void GridWorkbook::writeCell(std::uint32_t row, std::uint16_t column, const Column& plan, const QVariant& value)
{
    switch (plan.kind) {
    case GridColumn::Kind::CheckBox:
        worksheet_write_boolean(m_sheet, row, column, isChecked(value), nullptr);
        return;
    case GridColumn::Kind::Lookup:
        writeText(row, column, plan.column->shownText(value));
        return;
    case GridColumn::Kind::Currency: {
        if (value.isNull())
            return;
        bool ok = false;
        const double amount = value.toDouble(&ok);
        if (ok && std::isfinite(amount))
            worksheet_write_number(m_sheet, row, column, amount, m_currency);
        else
            writeText(row, column, plan.column->shownText(value));
        return;
    }
    case GridColumn::Kind::DateOnly:
        writeValue(row, column, plan.column->shownValue(value));
        return;
    case GridColumn::Kind::Plain:
        writeValue(row, column, value);
        return;
    }
}

void GridWorkbook::writeValue(std::uint32_t row, std::uint16_t column, const QVariant& value)
{
    if (value.isNull())
        return;
    switch (value.typeId()) {
    case QMetaType::Bool:
        worksheet_write_boolean(m_sheet, row, column, value.toBool(), nullptr);
        return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float: {
        const double number = value.toDouble();
        if (std::isfinite(number) && std::abs(number) < kExactIntegers)
            worksheet_write_number(m_sheet, row, column, number, nullptr);
        else
            writeText(row, column, ValueConversion::toText(value));
        return;
    }
    case QMetaType::QDateTime:
    case QMetaType::QDate: {
        const QDateTime moment =
            value.typeId() == QMetaType::QDate ? QDateTime(value.toDate(), QTime(0, 0)) : value.toDateTime();
        const QDate date = moment.date();
        const QTime time = moment.time();
        // A sheet counts days from 1900; earlier dates can only be kept as text.
        if (!date.isValid() || date.year() < 1900 || date.year() > 9999) {
            writeText(row, column, ValueConversion::toText(value));
            return;
        }
        lxw_datetime cell = {date.year(), date.month(),  date.day(),
                             time.hour(), time.minute(), time.second() + time.msec() / 1000.0};
        const bool withTime = value.typeId() == QMetaType::QDateTime && time != QTime(0, 0);
        worksheet_write_datetime(m_sheet, row, column, &cell, withTime ? m_dateTime : m_date);
        return;
    }
    default:
        writeText(row, column, ValueConversion::toText(value));
    }
}

void GridWorkbook::writeText(std::uint32_t row, std::uint16_t column, const QString& text)
{
    if (text.isEmpty())
        return;
    QString shown = needsCleaning(text) ? withoutControlCharacters(text) : text;
    if (shown.size() > kMaxCellText)
        shown.truncate(shown.at(kMaxCellText - 1).isHighSurrogate() ? kMaxCellText - 1 : kMaxCellText);
    if (!shown.isEmpty())
        worksheet_write_string(m_sheet, row, column, shown.toUtf8().constData(), nullptr);
}

bool GridWorkbook::finish(QString* reason)
{
    if (!m_workbook)
        return false;
    lxw_workbook* workbook = m_workbook;
    m_workbook = nullptr;
    m_sheet = nullptr;
    errno = 0;
    const lxw_error error = workbook_close(workbook); // frees the workbook, also on failure
    const int systemError = errno;
    if (error == LXW_NO_ERROR)
        return true;
    if (reason) {
        const QString system = systemErrorReason(systemError);
        *reason = system.isEmpty() ? libraryErrorReason(error) : system;
    }
    return false;
}

void GridWorkbook::discard()
{
    // Freeing a workbook does not close its sheet's scratch file, which would hold its disk
    // space until the program ends.
    if (m_sheet && m_sheet->optimize_tmpfile) {
        std::fclose(m_sheet->optimize_tmpfile);
        m_sheet->optimize_tmpfile = nullptr;
    }
    if (m_workbook)
        lxw_workbook_free(m_workbook);
    m_workbook = nullptr;
    m_sheet = nullptr;
}
