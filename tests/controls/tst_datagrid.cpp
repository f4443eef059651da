// The data grid on a real window: columns and footer, lazy rows, selection following the
// current record both ways, sorting by a header click, row styles and model consistency.

#include "ControlsWindow.h"
#include "controls/GridView.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTableView>
#include <QtTest>

class TestDataGrid : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void columnsCaptionsAndFooter();
    void cellsShowEachKind_data();
    void cellsShowEachKind();
    void largeDatasetComesInBatches();
    void scrollBarAnswersArrowsGrooveAndDragging();
    void selectionFollowsTheRecordBothWays();
    void headerClickSortsWithoutQueryingAgain();
    void occupiedRowsAreHighlightedAndSelectionHiddenWithoutFocus();
    void modelStaysConsistentThroughEveryChange();
    void contextMenuAndItsShortcuts();

private:
    void addBeds(int count);
    QTableView* view() const { return m_window->grid->view(); }
    int column(const QString& name) const { return m_window->grid->columns().indexOf(m_window->grid->column(name)); }
    QPoint cellCentre(int row, int column = 0) const
    {
        return view()->visualRect(view()->model()->index(row, column)).center();
    }

    std::unique_ptr<ControlsFixture> m_fixture;
    std::unique_ptr<ControlsWindow> m_window;
};

void TestDataGrid::init()
{
    m_fixture = std::make_unique<ControlsFixture>();
    m_window = std::make_unique<ControlsWindow>(*m_fixture->dm);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestDataGrid::cleanup()
{
    m_window.reset();
    m_fixture.reset();
}

// Adds beds numbered from 1000 (flag 4), every third one occupied, and reopens the beds.
void TestDataGrid::addBeds(int count)
{
    m_fixture->dm->ADO.execute(
        QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1)"
                       " INSERT INTO baseinfo(id, flag, code, expand10, expand12) SELECT 1000 + i, 4, 'N' || i,"
                       " i % 3 = 0, i FROM n")
            .arg(count));
    ReopenQuery(m_fixture->dm->cdsFw);
}

void TestDataGrid::columnsCaptionsAndFooter()
{
    DataGrid* grid = m_window->grid;
    QHeaderView* header = view()->horizontalHeader();
    QCOMPARE(view()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("铺位编号"));
    QVERIFY(header->isSectionHidden(column("hiddenField5")));
    QCOMPARE(grid->footerText("cxGridDBColumn3"), QStringLiteral("记录数："));
    QCOMPARE(grid->footerText("cxGridDBTableView2DBColumn4"), QStringLiteral("4"));
    QCOMPARE(grid->footerText("cxfield1"), QString());

    // Captions change at show time, by column name.
    grid->column("cxfield1")->setCaption(QStringLiteral("水费"));
    QCOMPARE(view()->model()->headerData(column("cxfield1"), Qt::Horizontal).toString(), QStringLiteral("水费"));
    grid->column("cxfield1")->setFooterCount(QStringLiteral("共%1铺"));
    QCOMPARE(grid->footerText("cxfield1"), QStringLiteral("共4铺"));

    // The columns a reader sees, in screen order.
    auto names = [grid] {
        QStringList list;
        for (const GridColumn* each : grid->visibleColumns())
            list << each->objectName();
        return list;
    };
    QCOMPARE(names(), QStringList({"cxGridDBColumn3", "cxGridDBTableView2DBColumn4", "cxGridDBColumn11", "cxfield1",
                                   "colDate", "colDept", "cxGridDBTableView2DBColumn1"}));
    header->moveSection(header->visualIndex(column("colDept")), 0);
    QCOMPARE(names().first(), QStringLiteral("colDept"));
    grid->column("hiddenField5")->setVisible(true);
    QVERIFY(names().contains(QStringLiteral("hiddenField5")));

    // The count follows inserts and deletes.
    m_fixture->dm->cdsFw.insert();
    QCOMPARE(grid->footerText("cxGridDBTableView2DBColumn4"), QStringLiteral("5"));
    m_fixture->dm->cdsFw.cancel();
    m_fixture->dm->cdsFw.deleteRecord();
    QCOMPARE(grid->footerText("cxGridDBTableView2DBColumn4"), QStringLiteral("3"));
}

void TestDataGrid::cellsShowEachKind_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("columnName");
    QTest::addColumn<QString>("shown");

    QTest::newRow("text") << 0 << "cxGridDBColumn3"
                          << "A101";
    QTest::newRow("number") << 0 << "cxGridDBColumn11"
                            << "¥350.50";
    QTest::newRow("currency zero") << 3 << "cxGridDBColumn11"
                                   << "¥0.00";
    QTest::newRow("date without its time") << 0 << "colDate"
                                           << "2024-03-05";
    QTest::newRow("null date") << 2 << "colDate"
                               << "";
    QTest::newRow("looked-up department") << 2 << "colDept"
                                          << "一车间";
    QTest::newRow("null key looks up nothing") << 3 << "colDept"
                                               << "";
}

void TestDataGrid::cellsShowEachKind()
{
    QFETCH(int, row);
    QFETCH(QString, columnName);
    QFETCH(QString, shown);
    QCOMPARE(view()->model()->index(row, column(columnName)).data().toString(), shown);
    QCOMPARE(m_window->grid->cellText(row, m_window->grid->column(columnName)), shown);
}

void TestDataGrid::largeDatasetComesInBatches()
{
    addBeds(3000);
    DatasetModel* model = m_window->grid->model();
    const int total = 3004;
    QCOMPARE(model->totalRows(), total);
    QCOMPARE(model->rowCount(), DatasetModel::kBatch);
    QCOMPARE(m_window->grid->footerText("cxGridDBTableView2DBColumn4"), QString::number(total));
    // Every row can be read for an export, whether fetched or not.
    QCOMPARE(m_window->grid->totalRows(), total);
    QCOMPARE(m_window->grid->cellValue(total - 1, m_window->grid->column("cxGridDBTableView2DBColumn1")).toBool(),
             true);
    QCOMPARE(m_window->grid->cellText(total - 2, m_window->grid->column("cxGridDBColumn3")), QStringLiteral("N2999"));

    // Scrolling to the bottom brings the next batch.
    view()->verticalScrollBar()->setValue(view()->verticalScrollBar()->maximum());
    QTRY_VERIFY(model->rowCount() > DatasetModel::kBatch);
    QVERIFY(model->rowCount() < total);

    // Moving the record to the end brings every row and shows the last one selected.
    m_fixture->dm->cdsFw.last();
    QCOMPARE(model->rowCount(), total);
    QCOMPARE(view()->currentIndex().row(), total - 1);
    QVERIFY(view()->viewport()->rect().intersects(view()->visualRect(view()->currentIndex())));

    // Ctrl+End from a fresh open reaches the last record, not the last fetched row.
    ReopenQuery(m_fixture->dm->cdsFw);
    QCOMPARE(model->rowCount(), DatasetModel::kBatch);
    view()->setFocus();
    QTest::keyClick(view(), Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(m_fixture->dm->cdsFw.recNo(), total - 1);
    QCOMPARE(m_window->code->text(), QStringLiteral("N3000"));
}

// The grid draws its scroll bars itself; the places a user clicks are still the style's.
void TestDataGrid::scrollBarAnswersArrowsGrooveAndDragging()
{
    addBeds(300);
    QScrollBar* bar = view()->verticalScrollBar();
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->value(), 0);
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = Qt::Vertical;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.pageStep = bar->pageStep();
    option.singleStep = bar->singleStep();
    const auto part = [&](QStyle::SubControl control) {
        return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, control, bar);
    };

    // Drawn flat and light: the handle and both arrow buttons show the button face.
    const QImage drawn = bar->grab().toImage();
    for (QStyle::SubControl control :
         {QStyle::SC_ScrollBarSlider, QStyle::SC_ScrollBarAddLine, QStyle::SC_ScrollBarSubLine}) {
        const QPoint inside = part(control).center() + QPoint(0, control == QStyle::SC_ScrollBarSlider ? 0 : 4);
        QVERIFY2(qGray(drawn.pixel(inside)) > 160, qPrintable(QString::number(int(control))));
    }

    QTest::mouseClick(bar, Qt::LeftButton, {}, part(QStyle::SC_ScrollBarAddLine).center());
    QCOMPARE(bar->value(), bar->singleStep());
    QTest::mouseClick(bar, Qt::LeftButton, {}, part(QStyle::SC_ScrollBarSubLine).center());
    QCOMPARE(bar->value(), 0);

    QTest::mouseClick(bar, Qt::LeftButton, {}, part(QStyle::SC_ScrollBarAddPage).center());
    QCOMPARE(bar->value(), bar->pageStep());

    option.sliderPosition = option.sliderValue = bar->value();
    const QPoint handle = part(QStyle::SC_ScrollBarSlider).center();
    QTest::mousePress(bar, Qt::LeftButton, {}, handle);
    QMouseEvent drag(QEvent::MouseMove, QPointF(handle.x(), bar->height() - 1),
                     bar->mapToGlobal(QPointF(handle.x(), bar->height() - 1)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(bar, &drag);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(handle.x(), bar->height() - 1));
    QTRY_COMPARE(bar->value(), bar->maximum());
    QVERIFY(view()->rowAt(0) > 0); // the rows moved with it
}

void TestDataGrid::selectionFollowsTheRecordBothWays()
{
    Dataset& beds = m_fixture->dm->cdsFw;
    auto selectedRows = [this] {
        QList<int> rows;
        for (const QModelIndex& index : view()->selectionModel()->selectedRows())
            rows << index.row();
        return rows;
    };
    QCOMPARE(selectedRows(), QList<int>({0}));

    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, cellCentre(2, 1));
    QCOMPARE(beds.recNo(), 2);
    QCOMPARE(m_window->code->text(), QStringLiteral("B201"));
    QCOMPARE(selectedRows(), QList<int>({2}));
    QCOMPARE(view()->model()->headerData(2, Qt::Vertical).toString(), QStringLiteral("▶"));
    QCOMPARE(view()->model()->headerData(0, Qt::Vertical).toString(), QString());

    QTest::keyClick(view(), Qt::Key_Down);
    QCOMPARE(beds.recNo(), 3);
    QTest::keyClick(view(), Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(beds.recNo(), 0);

    beds.moveTo(1);
    QCOMPARE(selectedRows(), QList<int>({1}));
    QCOMPARE(view()->currentIndex().row(), 1);

    // The record being edited stays current: a click elsewhere does not move it.
    beds.edit();
    QCOMPARE(view()->model()->headerData(1, Qt::Vertical).toString(), QStringLiteral("I"));
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, cellCentre(3));
    QCOMPARE(beds.recNo(), 1);
    QCOMPARE(selectedRows(), QList<int>({1}));
    QCOMPARE(beds.state(), DatasetState::Edit);
    beds.cancel();

    // A new record is the selected last row; cancelling it goes back to the row before.
    beds.insert();
    QCOMPARE(selectedRows(), QList<int>({4}));
    QCOMPARE(view()->model()->headerData(4, Qt::Vertical).toString(), QStringLiteral("*"));
    beds.cancel();
    QCOMPARE(selectedRows(), QList<int>({1}));

    beds.close();
    QVERIFY(selectedRows().isEmpty());
    QCOMPARE(view()->model()->rowCount(), 0);
    QCOMPARE(m_window->grid->footerText("cxGridDBTableView2DBColumn4"), QStringLiteral("0"));
}

void TestDataGrid::headerClickSortsWithoutQueryingAgain()
{
    Dataset& beds = m_fixture->dm->cdsFw;
    beds.moveTo(1); // A102
    // A bed added behind the open row set: a statement run again would show it.
    m_fixture->folder.exec(QStringLiteral("insert into baseinfo(id, flag, code, expand12) values(40, 4, 'Z9', 50)"));

    auto codes = [this] {
        QStringList list;
        for (int row = 0; row < view()->model()->rowCount(); ++row)
            list << view()->model()->index(row, 0).data().toString();
        return list;
    };
    QHeaderView* header = view()->horizontalHeader();
    const int deposit = column("cxGridDBTableView2DBColumn4");
    auto clickHeader = [header](int section) {
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(section) + header->sectionSize(section) / 2, header->height() / 2));
    };
    clickHeader(deposit);
    QCOMPARE(codes(), QStringList({"B202", "B201", "A102", "A101"}));
    QCOMPARE(header->sortIndicatorSection(), deposit);
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
    QCOMPARE(m_window->code->text(), QStringLiteral("A102")); // the current bed stays current
    QCOMPARE(view()->currentIndex().row(), 2);

    clickHeader(deposit);
    QCOMPARE(codes(), QStringList({"A101", "A102", "B201", "B202"}));
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);

    clickHeader(0);
    QCOMPARE(codes(), QStringList({"A101", "A102", "B201", "B202"}));
    QCOMPARE(beds.recordCount(), 4);

    // Reopening runs the statement: its own order, no sort mark, the new bed listed.
    ReopenQuery(beds);
    QCOMPARE(header->sortIndicatorSection(), -1);
    QCOMPARE(codes(), QStringList({"A101", "A102", "B201", "B202", "Z9"}));

    // No sorting while a record is being edited.
    beds.edit();
    clickHeader(deposit);
    QCOMPARE(codes(), QStringList({"A101", "A102", "B201", "B202", "Z9"}));
    QCOMPARE(beds.state(), DatasetState::Edit);
}

void TestDataGrid::occupiedRowsAreHighlightedAndSelectionHiddenWithoutFocus()
{
    const GridRowStyle style = Shared().HighlightStyle;
    QCOMPARE(style.background, QColor(192, 220, 192));
    QAbstractItemModel* model = view()->model();
    for (int section = 0; section < model->columnCount(); ++section) {
        QCOMPARE(model->index(0, section).data(Qt::BackgroundRole).value<QBrush>().color(), style.background);
        QCOMPARE(model->index(0, section).data(Qt::ForegroundRole).value<QBrush>().color(), style.text);
        QVERIFY(!model->index(1, section).data(Qt::BackgroundRole).isValid());
    }

    // Marking a bed occupied restyles its row when posted.
    Dataset& beds = m_fixture->dm->cdsFw;
    beds.moveTo(1);
    beds.edit();
    beds.fieldByName(QStringLiteral("expand10")).setAsBoolean(true);
    beds.post();
    QCOMPARE(model->index(1, 0).data(Qt::BackgroundRole).value<QBrush>().color(), style.background);

    // The selected row (row 1) shows the highlight style while the grid has no focus, the
    // selection colour while it has.
    m_window->code->setFocus();
    QTRY_VERIFY(!view()->hasFocus());
    const QPoint inCell = cellCentre(1, column("cxGridDBColumn11")) - QPoint(30, 0);
    auto pixel = [this, inCell] { return view()->viewport()->grab().toImage().pixelColor(inCell); };
    QCOMPARE(pixel(), style.background);
    view()->setFocus();
    QTRY_VERIFY(view()->hasFocus());
    QCOMPARE(pixel(), view()->palette().color(QPalette::Active, QPalette::Highlight));

    // The tick of the selected, occupied row stays dark on its white box.
    const QRect box = view()->visualRect(model->index(1, column("cxGridDBTableView2DBColumn1")));
    const QImage check =
        view()->viewport()->grab(box.adjusted(box.width() / 2 - 5, 4, 5 - box.width() / 2, -4)).toImage();
    int dark = 0;
    for (int y = 0; y < check.height(); ++y)
        for (int x = 0; x < check.width(); ++x)
            dark += qGray(check.pixel(x, y)) < 100;
    QVERIFY2(dark >= 4, qPrintable(QString::number(dark)));
}

void TestDataGrid::modelStaysConsistentThroughEveryChange()
{
    DatasetModel* model = m_window->grid->model();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy inserted(model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(model, &QAbstractItemModel::rowsRemoved);
    Dataset& beds = m_fixture->dm->cdsFw;

    beds.insert();
    QCOMPARE(model->rowCount(), 5);
    QCOMPARE(inserted.size(), 1);
    QVERIFY(model->checkInvariant());
    beds.fieldByName(QStringLiteral("code")).setAsString(QStringLiteral("C1"));
    QCOMPARE(model->index(4, 0).data().toString(), QStringLiteral("C1"));
    beds.cancel();
    QCOMPARE(model->rowCount(), 4);
    QCOMPARE(removed.size(), 1);
    QVERIFY(model->checkInvariant());

    beds.insert();
    beds.fieldByName(QStringLiteral("code")).setAsString(QStringLiteral("C2"));
    beds.fieldByName(QStringLiteral("flag")).setAsInteger(4);
    beds.post();
    QCOMPARE(model->rowCount(), 5);
    QCOMPARE(model->index(4, 0).data().toString(), QStringLiteral("C2"));
    QVERIFY(model->checkInvariant());

    beds.moveTo(0);
    beds.deleteRecord();
    QCOMPARE(model->rowCount(), 4);
    QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("A102"));
    QVERIFY(model->checkInvariant());

    beds.sortBy(beds.fieldIndex(QStringLiteral("code")), Qt::DescendingOrder);
    QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("C2"));
    QVERIFY(model->checkInvariant());

    PostAndReopen(beds);
    beds.close();
    QCOMPARE(model->rowCount(), 0);
    QVERIFY(model->checkInvariant());
    beds.open();
    QCOMPARE(model->rowCount(), 4);

    // Partly fetched: a new record brings the rows before it along.
    addBeds(1000);
    QCOMPARE(model->rowCount(), DatasetModel::kBatch);
    beds.insert();
    QCOMPARE(model->rowCount(), 1005);
    QVERIFY(model->checkInvariant());
    beds.cancel();
    QCOMPARE(model->rowCount(), 1004);
    QVERIFY(model->checkInvariant());
    // Deleting from a partly fetched set keeps the view filled.
    ReopenQuery(beds);
    beds.deleteRecord();
    QCOMPARE(model->rowCount(), DatasetModel::kBatch);
    QCOMPARE(model->totalRows(), 1003);
    QVERIFY(model->checkInvariant());
}

void TestDataGrid::contextMenuAndItsShortcuts()
{
    QMenu menu;
    QAction* add = menu.addAction(QStringLiteral("新增"));
    add->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    menu.addSeparator();
    QAction* remove = menu.addAction(QStringLiteral("删除"));
    remove->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    m_window->grid->setContextMenu(&menu);
    QSignalSpy removing(remove, &QAction::triggered);

    // A right click moves to the clicked row and opens the menu there.
    QTest::mouseClick(view()->viewport(), Qt::RightButton, {}, cellCentre(2));
    QCOMPARE(m_fixture->dm->cdsFw.recNo(), 2);
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, cellCentre(2)); // as the platform would for the menu
    QMetaObject::invokeMethod(view(), "customContextMenuRequested", Q_ARG(QPoint, cellCentre(2)));
    QTRY_VERIFY(menu.isVisible());
    menu.close();

    view()->setFocus();
    QTRY_VERIFY(view()->hasFocus());
    QTest::keyClick(view(), Qt::Key_D, Qt::ControlModifier);
    QTRY_COMPARE(removing.size(), 1);
    QCOMPARE(m_fixture->dm->cdsFw.recNo(), 2);
}

QTEST_MAIN(TestDataGrid)
#include "tst_datagrid.moc"
