#include "bench_export.h"

#include "BenchReport.h"
#include "controls/DataGrid.h"
#include "data/Connection.h"
#include "data/DataModule.h"
#include "queries/TclassForm.h"
#include "support/DocumentOpener.h"
#include "support/TclassAllClass.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <sqlite3.h>
#include <string>
#include <vector>
#include <xlsxwriter.h>

namespace {

constexpr int kBeds = 100000;

// The export opens nothing here: the figures are about writing the file.
class NoProgramOpener : public DocumentOpener {
public:
    bool open(const QString&) override { return true; }
};

// 100000 beds (flag 4) with fees, dates, occupancy and a department to look up.
QString makeDatabase()
{
    const QString folder = benchFolder() + "export/";
    QDir().mkpath(folder);
    createDatabaseFile(folder + "ss.mdb");
    sqlite3* db = nullptr;
    sqlite3_open((folder + "ss.mdb").toUtf8().constData(), &db);
    execOrDie(db, "BEGIN");
    execOrDie(db, "INSERT INTO baseinfo(id, flag, code, name) VALUES (3, 3, '3', '第一车间'), (4, 3, '4', '后勤部')");
    insertNumbered(db,
                   "INSERT INTO baseinfo(id, flag, code, name, expand9, expand10, expand12, expand13, field1,"
                   " field2, field3, field4, main_tree, expand30) VALUES (?1 + 100, 4, 'A' || ?1, '铺位' || ?1,"
                   " printf('2026-%02d-%02d 08:30:00', ?1 % 12 + 1, ?1 % 28 + 1), ?1 % 3 = 0, 350.5 + ?1 % 7,"
                   " 200, ?1 % 5, 10.5, 20, 30, 3 + ?1 % 2, '靠窗的下铺')",
                   kBeds);
    execOrDie(db, "COMMIT");
    sqlite3_close(db);
    return folder;
}

// The bed register's kind of grid: texts, two currency columns, a date, a check box, a
// look-up and plain numbers.
void defineColumns(DataGrid& grid, TDM& dm)
{
    grid.addColumn("code", "铺位编号", "code");
    grid.addColumn("name", "名称", "name");
    grid.addColumn("expand12", "床位费", "expand12", GridColumn::Kind::Currency);
    grid.addColumn("expand13", "押金", "expand13", GridColumn::Kind::Currency);
    grid.addColumn("expand9", "启用日期", "expand9", GridColumn::Kind::DateOnly);
    grid.addColumn("expand10", "已住", "expand10", GridColumn::Kind::CheckBox);
    grid.addLookupColumn("dept", "部门", "main_tree", &dm.dsDept, "id", "name");
    grid.addColumn("field1", "水费", "field1");
    grid.addColumn("field2", "电费", "field2");
    grid.addColumn("field3", "物业费", "field3");
    grid.addColumn("field4", "卫生费", "field4");
    grid.addColumn("expand30", "备注", "expand30");
    grid.setDataSource(&dm.dsFw);
}

// The same cells, read beforehand, for libxlsxwriter alone.
struct Row {
    std::string code, name, dept, memo;
    double fee, deposit, field1, field2, field3, field4;
    lxw_datetime date;
    bool occupied;
};

std::vector<Row> readRows(const QString& database)
{
    std::vector<Row> rows;
    rows.reserve(kBeds);
    sqlite3* db = nullptr;
    sqlite3_open(database.toUtf8().constData(), &db);
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(
        db,
        "SELECT b.code, b.name, d.name, b.expand30, b.expand12, b.expand13, b.field1, b.field2, b.field3,"
        " b.field4, b.expand9, b.expand10 FROM baseinfo b LEFT JOIN baseinfo d ON d.flag = 3 AND"
        " d.id = b.main_tree WHERE b.flag = 4",
        -1, &select, nullptr);
    const auto text = [select](int column) {
        const unsigned char* value = sqlite3_column_text(select, column);
        return value ? std::string(reinterpret_cast<const char*>(value)) : std::string();
    };
    while (sqlite3_step(select) == SQLITE_ROW) {
        Row row;
        row.code = text(0);
        row.name = text(1);
        row.dept = text(2);
        row.memo = text(3);
        row.fee = sqlite3_column_double(select, 4);
        row.deposit = sqlite3_column_double(select, 5);
        row.field1 = sqlite3_column_double(select, 6);
        row.field2 = sqlite3_column_double(select, 7);
        row.field3 = sqlite3_column_double(select, 8);
        row.field4 = sqlite3_column_double(select, 9);
        const std::string moment = text(10);
        row.date = {
            std::stoi(moment.substr(0, 4)), std::stoi(moment.substr(5, 2)), std::stoi(moment.substr(8, 2)), 0, 0, 0};
        row.occupied = sqlite3_column_int(select, 11) != 0;
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(select);
    sqlite3_close(db);
    return rows;
}

void writeDirectly(const std::vector<Row>& rows, const QString& path)
{
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* workbook = workbook_new_opt(path.toUtf8().constData(), &options);
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Sheet1");
    lxw_format* bold = workbook_add_format(workbook);
    format_set_bold(bold);
    lxw_format* date = workbook_add_format(workbook);
    format_set_num_format(date, "yyyy-mm-dd");
    lxw_format* money = workbook_add_format(workbook);
    format_set_num_format(money, "\"¥\"#,##0.00");
    const char* captions[] = {"铺位编号", "名称", "床位费", "押金",   "启用日期", "已住",
                              "部门",     "水费", "电费",   "物业费", "卫生费",   "备注"};
    for (lxw_col_t column = 0; column < 12; ++column)
        worksheet_write_string(sheet, 0, column, captions[column], bold);
    lxw_row_t number = 1;
    for (const Row& row : rows) {
        worksheet_write_string(sheet, number, 0, row.code.c_str(), nullptr);
        worksheet_write_string(sheet, number, 1, row.name.c_str(), nullptr);
        worksheet_write_number(sheet, number, 2, row.fee, money);
        worksheet_write_number(sheet, number, 3, row.deposit, money);
        lxw_datetime day = row.date;
        worksheet_write_datetime(sheet, number, 4, &day, date);
        worksheet_write_boolean(sheet, number, 5, row.occupied, nullptr);
        worksheet_write_string(sheet, number, 6, row.dept.c_str(), nullptr);
        worksheet_write_number(sheet, number, 7, row.field1, nullptr);
        worksheet_write_number(sheet, number, 8, row.field2, nullptr);
        worksheet_write_number(sheet, number, 9, row.field3, nullptr);
        worksheet_write_number(sheet, number, 10, row.field4, nullptr);
        worksheet_write_string(sheet, number, 11, row.memo.c_str(), nullptr);
        ++number;
    }
    workbook_close(workbook);
}

} // namespace

void runExportBench()
{
    const QString folder = makeDatabase();
    NoProgramOpener opener;
    setDocumentOpener(&opener);
    TDM dm(folder, folder);
    dm.ConnectDatabase(QString());
    DataGrid grid;
    defineColumns(grid, dm);
    TclassForm& exporter = TclassAllClass::get<TclassForm>();

    // Memory while the first export runs (the dataset's row cache starts empty), sampled
    // whenever the export lets events through.
    const double before = residentMegabytes();
    double peak = before;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&peak] { peak = std::max(peak, residentMegabytes()); });
    sampler.start(1);
    const bool exported = exporter.ExportGrid(grid);
    sampler.stop();
    peak = std::max(peak, residentMegabytes());
    const double growth = peak - before;
    const qint64 size = QFileInfo(TclassForm::exportPath()).size();

    const double exportMs = bestOfMs(3, [&] { exporter.ExportGrid(grid); });
    const std::vector<Row> rows = readRows(folder + "ss.mdb");
    const QString directPath = folder + "direct.xlsx";
    const double directMs = bestOfMs(3, [&] { writeDirectly(rows, directPath); });
    setDocumentOpener(nullptr);

    const double ratio = exportMs / directMs;
    printFigure("grid export of 100000 beds x 12 columns vs libxlsxwriter writing the same cells", ratio, "x",
                QString("<= 3; %1 ms vs %2 ms, %3 MB vs %4 MB")
                    .arg(exportMs, 0, 'f', 0)
                    .arg(directMs, 0, 'f', 0)
                    .arg(size / 1048576.0, 0, 'f', 1)
                    .arg(QFileInfo(directPath).size() / 1048576.0, 0, 'f', 1),
                exported && ratio <= 3);
    printFigure("resident memory growth during that export", growth, "MB", "< 50 MB", exported && growth < 50);
}
