// The grid export: a real workbook read back from disk and compared with the grid (captions,
// screen order, every record, native cell types and formats), the spreadsheet program missing,
// write failures that leave the old file alone, and the progress dialog of long lists.

#include "common/ScriptedMessages.h"
#include "common/ScriptedOpener.h"
#include "common/TestFolder.h"
#include "common/XlsxReader.h"
#include "controls/DataGrid.h"
#include "data/DataChecks.h"
#include "data/DataModule.h"
#include "queries/TclassForm.h"
#include "support/SharedValues.h"
#include "support/TclassAllClass.h"

#include <QDir>
#include <QHeaderView>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QTableView>
#include <QtTest>
#include <memory>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

// Beds (flag 4) in a grid with one column of every kind, departments to look up, and a hidden
// column.
struct BedGrid {
    explicit BedGrid(const QStringList& statements = {})
    {
        folder.exec("insert into baseinfo(id, flag, code, name) values (3, 3, '3', '第一车间')");
        folder.exec("insert into baseinfo(id, flag, code, name) values (4, 3, '4', '后勤部')");
        for (const QString& statement : statements)
            folder.exec(statement);
        dm = std::make_unique<TDM>(folder.path(), folder.path());
        dm->ConnectDatabase(QString());
        window = std::make_unique<QWidget>();
        grid = new DataGrid(window.get());
        grid->addColumn("cxCode", "铺位编号", "code");
        grid->addColumn("cxFee", "床位费", "expand12", GridColumn::Kind::Currency);
        grid->addColumn("cxDay", "启用日期", "expand9", GridColumn::Kind::DateOnly);
        grid->addColumn("cxMoment", "登记时间", "expand9");
        grid->addColumn("cxUsed", "已住", "expand10", GridColumn::Kind::CheckBox);
        grid->addLookupColumn("cxDept", "部门", "main_tree", &dm->dsDept, "id", "name");
        grid->addColumn("cxCount", "人数", "field1");
        grid->addColumn("cxHidden", "隐藏", "field5").setVisible(false);
        grid->addColumn("cxMemo", "备注", "expand30");
        grid->addColumn("cxId", "编号", "id");
        grid->setDataSource(&dm->dsFw);
        grid->resize(900, 400);
    }

    bool exportGrid() { return TclassAllClass::get<TclassForm>().ExportGrid(*grid); }
    QStringList captions() const
    {
        QStringList shown;
        for (const GridColumn* column : grid->visibleColumns())
            shown << column->caption();
        return shown;
    }
    // Files the export may have left beside the workbook.
    QStringList leftovers() const
    {
        return QDir(folder.path()).entryList({"book1.xlsx?*"}, QDir::Files | QDir::Hidden);
    }

    TestFolder folder;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<QWidget> window;
    DataGrid* grid;
};

const QStringList kThreeBeds = {
    "insert into baseinfo(id, flag, code, expand12, expand9, expand10, main_tree, field1, field5, expand30)"
    " values (11, 4, '101', 1200.5, '2024-03-05 14:30:00', 1, 3, 2, 9, '<a & \"b\">')",
    "insert into baseinfo(id, flag, code, expand9, expand10, main_tree) values (12, 4, '007', '1899-12-01', 0, 99)",
    "insert into baseinfo(id, flag, code, expand12, expand9, expand10, main_tree, field1)"
    " values (13, 4, '103', -35, '2024-12-31', 1, 4, 1.25)",
};

QString bedsInsert(int count)
{
    return QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1)"
                          " INSERT INTO baseinfo(id, flag, code, expand12) SELECT 100 + i, 4, 'B' || i, i FROM n")
        .arg(count);
}

// Deleted files this process still holds open (Linux; 0 elsewhere).
int openScratchFiles()
{
    int count = 0;
    for (const QFileInfo& handle : QDir("/proc/self/fd").entryInfoList(QDir::System | QDir::Files))
        count += handle.symLinkTarget().endsWith(" (deleted)");
    return count;
}

// Sees every progress dialog that is shown and runs a step as soon as events flow.
class ProgressWatcher : public QObject {
public:
    explicit ProgressWatcher(std::function<void(QProgressDialog*)> step = {}) : m_step(std::move(step))
    {
        qApp->installEventFilter(this);
    }
    ~ProgressWatcher() override { qApp->removeEventFilter(this); }
    int shown = 0;

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto* dialog = qobject_cast<QProgressDialog*>(object)) {
                ++shown;
                if (m_step)
                    QTimer::singleShot(0, dialog, [this, dialog] { m_step(dialog); });
            }
        }
        return false;
    }

private:
    std::function<void(QProgressDialog*)> m_step;
};

} // namespace

class TestGridExport : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { resetSharedValues(); }

    void headerAndRowsMatchTheGrid();
    void cellsKeepTheirTypes_data();
    void cellsKeepTheirTypes();
    void followsTheScreenOrder();
    void writesEveryRecordNotOnlyTheFetchedOnes();
    void secondExportReplacesTheFirst();
    void noSpreadsheetProgram();
    void writeFailure_data();
    void writeFailure();
    void failureMidWriteKeepsTheOldFile_data();
    void failureMidWriteKeepsTheOldFile();
    void longListShowsProgress_data();
    void longListShowsProgress();

private:
    // One export of the three-bed grid, read back, shared by the cell checks.
    std::unique_ptr<BedGrid> m_beds;
    std::unique_ptr<XlsxReader> m_book;
};

void TestGridExport::initTestCase()
{
    ScriptedMessages messages;
    ScriptedOpener opener;
    m_beds = std::make_unique<BedGrid>(kThreeBeds);
    m_beds->folder.execSqlite("update baseinfo set expand30 = 'line1' || char(10) || 'line2' || char(1) where id = 13");
    ReopenQuery(m_beds->dm->cdsFw);
    QVERIFY(m_beds->exportGrid());
    QCOMPARE(messages.texts(), QStringList());
    QCOMPARE(opener.opened(), QStringList{TclassForm::exportPath()});
    QCOMPARE(TclassForm::exportPath(), m_beds->folder.file("book1.xlsx"));
    m_book = std::make_unique<XlsxReader>(TclassForm::exportPath());
    QVERIFY2(m_book->isValid(), qPrintable(m_book->error()));
}

void TestGridExport::headerAndRowsMatchTheGrid()
{
    const QStringList expected = {"铺位编号", "床位费", "启用日期", "登记时间", "已住", "部门", "人数", "备注", "编号"};
    QCOMPARE(m_beds->captions(), expected);
    QCOMPARE(m_book->rowValues(0), expected);
    for (int column = 0; column < expected.size(); ++column)
        QVERIFY(m_book->cell(0, column).isString());
    QCOMPARE(m_book->rowCount(), 1 + m_beds->dm->cdsFw.recordCount());
    QCOMPARE(m_book->rowCount(), 4);
    QVERIFY(!m_book->cell(0, expected.size()).exists); // the hidden column is left out
}

void TestGridExport::cellsKeepTheirTypes_data()
{
    QTest::addColumn<QString>("bed"); // the row, by its bed number
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("type"); // string, number, boolean, blank
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("format"); // pattern the number format must match; empty: General

    const QString date = "^yyyy-mm-dd$";
    QTest::newRow("text keeps its leading zeros") << "007"
                                                  << "铺位编号"
                                                  << "string"
                                                  << "007"
                                                  << "";
    QTest::newRow("text with markup characters") << "101"
                                                 << "备注"
                                                 << "string"
                                                 << "<a & \"b\">"
                                                 << "";
    QTest::newRow("control characters are dropped") << "103"
                                                    << "备注"
                                                    << "string"
                                                    << "line1\nline2"
                                                    << "";
    QTest::newRow("currency is a number") << "101"
                                          << "床位费"
                                          << "number"
                                          << "1200.5"
                                          << "¥.*0\\.00";
    QTest::newRow("negative currency") << "103"
                                       << "床位费"
                                       << "number"
                                       << "-35"
                                       << "¥.*0\\.00";
    QTest::newRow("empty currency is blank") << "007"
                                             << "床位费"
                                             << "blank"
                                             << ""
                                             << "";
    QTest::newRow("date column cuts the time") << "101"
                                               << "启用日期"
                                               << "number"
                                               << "45356" << date;
    QTest::newRow("plain date keeps its time") << "101"
                                               << "登记时间"
                                               << "number"
                                               << "45356.6041666667"
                                               << "^yyyy-mm-dd hh:mm(:ss)?$";
    QTest::newRow("plain date at midnight") << "103"
                                            << "登记时间"
                                            << "number"
                                            << "45657" << date;
    QTest::newRow("date before 1900 as text") << "007"
                                              << "启用日期"
                                              << "string"
                                              << "1899-12-01"
                                              << "";
    QTest::newRow("check box on") << "101"
                                  << "已住"
                                  << "boolean"
                                  << "1"
                                  << "";
    QTest::newRow("check box off") << "007"
                                   << "已住"
                                   << "boolean"
                                   << "0"
                                   << "";
    QTest::newRow("look-up shows the name") << "101"
                                            << "部门"
                                            << "string"
                                            << "第一车间"
                                            << "";
    QTest::newRow("look-up without a match is blank") << "007"
                                                      << "部门"
                                                      << "blank"
                                                      << ""
                                                      << "";
    QTest::newRow("fraction") << "103"
                              << "人数"
                              << "number"
                              << "1.25"
                              << "";
    QTest::newRow("integer") << "101"
                             << "编号"
                             << "number"
                             << "11"
                             << "";
}

void TestGridExport::cellsKeepTheirTypes()
{
    QFETCH(QString, bed);
    QFETCH(QString, caption);
    QFETCH(QString, type);
    QFETCH(QString, value);
    QFETCH(QString, format);

    const int column = m_book->rowValues(0).indexOf(caption);
    QVERIFY(column >= 0);
    // Sheet rows follow the dataset's rows, whatever order the database hands them in.
    int row = 1;
    while (row < m_book->rowCount() && m_book->cell(row, 0).value != bed)
        ++row;
    QVERIFY(row < m_book->rowCount());
    Dataset& beds = m_beds->dm->cdsFw;
    QCOMPARE(beds.valueAt(row - 1, beds.fieldIndex("code")).toString(), bed);
    const XlsxReader::Cell cell = m_book->cell(row, column);
    if (type == "blank") {
        QVERIFY2(!cell.exists || cell.value.isEmpty(), qPrintable(cell.value));
        return;
    }
    if (type == "string") {
        QVERIFY2(cell.isString(), qPrintable(cell.type));
        QCOMPARE(cell.value, value);
    } else if (type == "boolean") {
        QVERIFY2(cell.isBoolean(), qPrintable(cell.type));
        QCOMPARE(cell.value, value);
    } else {
        QVERIFY2(cell.isNumber(), qPrintable(cell.type));
        QVERIFY2(qAbs(cell.number() - value.toDouble()) < 1e-6, qPrintable(cell.value));
    }
    if (format.isEmpty())
        QCOMPARE(cell.format, QStringLiteral("General"));
    else
        QVERIFY2(cell.format.contains(QRegularExpression(format)), qPrintable(cell.format));

    // The grid shows the same: the text of strings, the value of numbers and check boxes.
    const int logical = m_beds->grid->columns().indexOf(m_beds->grid->visibleColumns().at(column));
    const QVariant shown = m_beds->grid->model()->cellValue(row - 1, logical);
    if (type == "string")
        QCOMPARE(m_beds->grid->model()->cellText(row - 1, logical).remove(QChar(1)), value);
    else if (type == "boolean")
        QCOMPARE(shown.toBool(), value == "1");
    else if (format.isEmpty() || format.contains("¥"))
        QCOMPARE(shown.toDouble(), value.toDouble());
}

void TestGridExport::followsTheScreenOrder()
{
    ScriptedMessages messages;
    ScriptedOpener opener;
    BedGrid beds({kThreeBeds.first()});
    QHeaderView* header = beds.grid->view()->horizontalHeader();
    header->moveSection(header->visualIndex(beds.grid->columns().indexOf(beds.grid->column("cxDept"))), 0);
    beds.grid->column("cxFee")->setVisible(false);
    beds.grid->column("cxHidden")->setVisible(true);

    QVERIFY(beds.exportGrid());
    const XlsxReader book(TclassForm::exportPath());
    QVERIFY2(book.isValid(), qPrintable(book.error()));
    const QStringList expected = {"部门", "铺位编号", "启用日期", "登记时间", "已住", "人数", "隐藏", "备注", "编号"};
    QCOMPARE(beds.captions(), expected);
    QCOMPARE(book.rowValues(0), expected);
    QCOMPARE(book.cell(1, 0).value, QStringLiteral("第一车间"));
    QCOMPARE(book.cell(1, 1).value, QStringLiteral("101"));
    QCOMPARE(book.cell(1, 6).value, QStringLiteral("9"));
}

void TestGridExport::writesEveryRecordNotOnlyTheFetchedOnes()
{
    ScriptedMessages messages;
    ScriptedOpener opener;
    ProgressWatcher watcher;
    const int count = 3 * DatasetModel::kBatch;
    BedGrid beds;
    beds.folder.execSqlite(bedsInsert(count));
    ReopenQuery(beds.dm->cdsFw);
    beds.dm->cdsFw.moveTo(10);
    QVERIFY(beds.grid->model()->rowCount() < count);

    QVERIFY(beds.exportGrid());
    const XlsxReader book(TclassForm::exportPath());
    QVERIFY2(book.isValid(), qPrintable(book.error()));
    QCOMPARE(book.rowCount(), 1 + count);
    QCOMPARE(book.cell(1, 0).value, QStringLiteral("B1"));
    QCOMPARE(book.cell(count, 0).value, QStringLiteral("B%1").arg(count));
    QCOMPARE(book.cell(count, 1).number(), double(count));
    QCOMPARE(beds.dm->cdsFw.recNo(), 10); // the record pointer stays where the user left it
    QCOMPARE(watcher.shown, 0);           // a short list needs no progress dialog
    QCOMPARE(messages.texts(), QStringList());
}

void TestGridExport::secondExportReplacesTheFirst()
{
    ScriptedMessages messages;
    ScriptedOpener opener;
    BedGrid beds(kThreeBeds);
    QVERIFY(beds.exportGrid());
    beds.folder.exec("update baseinfo set code = '201' where id = 11");
    beds.folder.exec("delete from baseinfo where id = 13");
    ReopenQuery(beds.dm->cdsFw);
    QVERIFY(beds.exportGrid());

    const XlsxReader book(TclassForm::exportPath());
    QVERIFY2(book.isValid(), qPrintable(book.error()));
    QCOMPARE(book.rowCount(), 3);
    QCOMPARE(book.cell(1, 0).value, QStringLiteral("201"));
    QCOMPARE(opener.opened(), QStringList(2, TclassForm::exportPath()));
    QCOMPARE(beds.leftovers(), QStringList());
}

void TestGridExport::noSpreadsheetProgram()
{
    ScriptedMessages messages;
    ScriptedOpener opener;
    opener.setProgramAvailable(false);
    BedGrid beds(kThreeBeds);

    QVERIFY(!beds.exportGrid());
    QCOMPARE(messages.shown().size(), 1);
    QCOMPARE(messages.shown().first().text, QStringLiteral("未发现安装了 Excel !"));
    QCOMPARE(messages.shown().first().title, QStringLiteral("提示信息"));
    QCOMPARE(opener.opened(), QStringList{TclassForm::exportPath()});
    const XlsxReader book(TclassForm::exportPath()); // the file stays, complete
    QVERIFY2(book.isValid(), qPrintable(book.error()));
    QCOMPARE(book.rowCount(), 4);
}

void TestGridExport::writeFailure_data()
{
    QTest::addColumn<QString>("blocker"); // what stands in the way
    QTest::addColumn<QString>("reason");
    QTest::newRow("folder under a plain file") << "plain file"
                                               << "文件夹不存在";
    QTest::newRow("folder missing") << "missing"
                                    << "文件夹不存在";
    QTest::newRow("a folder named like the workbook") << "folder"
                                                      << "同名的文件夹已经存在";
}

void TestGridExport::writeFailure()
{
    QFETCH(QString, blocker);
    QFETCH(QString, reason);
    ScriptedMessages messages;
    ScriptedOpener opener;
    BedGrid beds(kThreeBeds);
    if (blocker == "plain file") {
        beds.folder.writeBytes("plain.txt", "not a folder");
        Shared().rootFolder = beds.folder.file("plain.txt/export/");
    } else if (blocker == "missing") {
        Shared().rootFolder = beds.folder.file("missing/");
    } else {
        QVERIFY(QDir(beds.folder.path()).mkpath("book1.xlsx/kept"));
    }

    QVERIFY(!beds.exportGrid());
    QCOMPARE(messages.shown().size(), 1);
    const QString text = messages.lastText();
    QVERIFY2(text.contains(QDir::toNativeSeparators(TclassForm::exportPath())), qPrintable(text));
    QVERIFY2(text.contains(reason), qPrintable(text));
    QCOMPARE(opener.opened(), QStringList());
    QCOMPARE(beds.leftovers(), QStringList());
    if (blocker == "folder")
        QVERIFY(QFileInfo(beds.folder.file("book1.xlsx/kept")).isDir());
}

void TestGridExport::failureMidWriteKeepsTheOldFile_data()
{
    QTest::addColumn<int>("bedCount");
    QTest::addColumn<int>("limit"); // bytes any file of the process may reach
    QTest::newRow("rows fill the disk") << 2000 << 16 * 1024;
    QTest::newRow("the workbook fills the disk") << 3 << 4 * 1024;
}

// A disk that fills up while the workbook is written, first while the rows go out, then while
// the file is put together: the file size limit of the process makes every write beyond it
// fail, for any user.
void TestGridExport::failureMidWriteKeepsTheOldFile()
{
#ifdef Q_OS_LINUX
    QFETCH(int, bedCount);
    QFETCH(int, limit);
    ScriptedMessages messages;
    ScriptedOpener opener;
    BedGrid beds;
    beds.folder.execSqlite(bedsInsert(bedCount));
    ReopenQuery(beds.dm->cdsFw);
    beds.folder.writeBytes("book1.xlsx", "the workbook of the last export");

    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = rlim_t(limit);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const bool exported = beds.exportGrid();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);

    QVERIFY(!exported);
    QCOMPARE(beds.folder.readBytes("book1.xlsx"), QByteArray("the workbook of the last export"));
    QCOMPARE(beds.leftovers(), QStringList());
    QCOMPARE(messages.shown().size(), 1);
    const QString text = messages.lastText();
    QVERIFY2(text.contains(QDir::toNativeSeparators(TclassForm::exportPath())), qPrintable(text));
    QVERIFY2(text.contains("原因：文件超过了系统允许的大小"), qPrintable(text));
    QCOMPARE(opener.opened(), QStringList());
#else
    QSKIP("the file size limit of a process exists on Linux only");
#endif
}

void TestGridExport::longListShowsProgress_data()
{
    QTest::addColumn<QString>("interruption");
    QTest::newRow("completed") << "";
    QTest::newRow("cancelled") << "cancel";
    QTest::newRow("window closed meanwhile") << "close window";
}

void TestGridExport::longListShowsProgress()
{
    QFETCH(QString, interruption);
    ScriptedMessages messages;
    ScriptedOpener opener;
    const int count = TclassForm::kProgressRecords + 1;
    BedGrid beds;
    beds.folder.execSqlite(bedsInsert(count));
    ReopenQuery(beds.dm->cdsFw);
    beds.folder.writeBytes("book1.xlsx", "the workbook of the last export");
    beds.window->show();
    ProgressWatcher watcher([&](QProgressDialog* dialog) {
        if (interruption == "cancel")
            dialog->cancel();
        else if (interruption == "close window")
            beds.window.reset();
    });
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(0);

    const int scratchFiles = openScratchFiles();
    const bool exported = TclassAllClass::get<TclassForm>().ExportGrid(*beds.grid);
    ticker.stop();

    QCOMPARE(watcher.shown, 1);
    QVERIFY(ticks > 0); // events kept flowing while the rows were written
    for (QWidget* widget : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<QProgressDialog*>(widget) || !widget->isVisible());
    QCOMPARE(beds.leftovers(), QStringList());
    QCOMPARE(messages.texts(), QStringList());
    if (!interruption.isEmpty()) {
        QVERIFY(!exported);
        QCOMPARE(beds.folder.readBytes("book1.xlsx"), QByteArray("the workbook of the last export"));
        QCOMPARE(opener.opened(), QStringList());
        QCOMPARE(openScratchFiles(), scratchFiles); // the dropped rows hold no disk space
    } else {
        QVERIFY(exported);
        const XlsxReader book(TclassForm::exportPath());
        QVERIFY2(book.isValid(), qPrintable(book.error()));
        QCOMPARE(book.rowCount(), 1 + count);
        QCOMPARE(book.cell(count, 0).value, QStringLiteral("B%1").arg(count));
    }
}

QTEST_MAIN(TestGridExport)
#include "tst_gridexport.moc"
