#include "residents/ascidnum.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray gbk(const QString& text) {
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write fixture %s", qPrintable(path));
    return path;
}

// "code=name" per entry, to compare a whole table in one go.
QStringList entries(const TRegionCodeTransArray& table) {
    QStringList list;
    for (const TRegionCodeTransRec& rec : table)
        list << rec.Code + u'=' + rec.Name;
    return list;
}

// A small region table: a municipality with "市辖区" and "县" groupings, a province with two
// cities, province entries at and below the lowest valid province code, and a city and county
// whose province entry is missing.
const char16_t* const kFixture = u"# 测试用行政区划\r\n"
                                 u"090000,九号省\r\n"
                                 u"090100,九号市\r\n"
                                 u"100000,十号省\r\n"
                                 u"100100,十号市\r\n"
                                 u"110000,北京市\r\n"
                                 u"110100,市辖区\r\n"
                                 u"110101,东城区\r\n"
                                 u"120000,天津市\r\n"
                                 u"120200,县\r\n"
                                 u"120225,蓟县\r\n"
                                 u"130000,河北省\r\n"
                                 u"130100,石家庄市\r\n"
                                 u"130101,市辖区\r\n"
                                 u"130102,长安区\r\n"
                                 u"130200,唐山市\r\n"
                                 u"210100,沈阳市\r\n"
                                 u"210102,和平区\r\n";

} // namespace

class TestAscidnum : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void parseIDNumber_data();
    void parseIDNumber();
    void checkChar_data();
    void checkChar();
    void allDigits_data();
    void allDigits();
    void splitString_data();
    void splitString();
    void regionName_data();
    void regionName();
    void loadRegionCodeFile_data();
    void loadRegionCodeFile();
    void missingOrUnreadableFile();
    void installationRegionTable();

private:
    QTemporaryDir m_dir;
    TRegionCodeTransArray m_fixture;
};

void TestAscidnum::initTestCase() {
    QVERIFY(m_dir.isValid());
    const QString path = writeFile(m_dir, "fixture.dat", gbk(QString::fromUtf16(kFixture)));
    QVERIFY(LoadRegionCodeFile(path, m_fixture));
    QCOMPARE(m_fixture.size(), 17);
}

void TestAscidnum::cleanup() {
    RegionTable().clear();
}

// Every row states what info holds after the call, also after a false result: the parse must
// clear the fields left over from before, and on a late failure the early fields stay filled.
void TestAscidnum::parseIDNumber_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("region");
    QTest::addColumn<QDate>("birth");
    QTest::addColumn<int>("sex");
    QTest::addColumn<int>("checkState");

    const QDate none;
    // clang-format off
    QTest::newRow("18 characters, check X, female")   << "11010519491231002X" << true  << 1 << "110105" << QDate(1949, 12, 31) << 2 << 2;
    QTest::newRow("18 characters, lower-case x")      << "11010519491231002x" << true  << 1 << "110105" << QDate(1949, 12, 31) << 2 << 2;
    QTest::newRow("18 characters, digit check, male") << "130102198503171236" << true  << 1 << "130102" << QDate(1985, 3, 17)   << 1 << 2;
    QTest::newRow("15 characters, year 85 is 1985")   << "130102850317123"    << true  << 0 << "130102" << QDate(1985, 3, 17)   << 1 << 0;
    QTest::newRow("15 characters, year 00 is 1900")   << "130102000101124"    << true  << 0 << "130102" << QDate(1900, 1, 1)    << 2 << 0;
    QTest::newRow("sex digit 0 is female")            << "130102198503171009" << true  << 1 << "130102" << QDate(1985, 3, 17)   << 2 << 2;
    QTest::newRow("29 February 2000")                 << "130102200002291248" << true  << 1 << "130102" << QDate(2000, 2, 29)   << 2 << 2;
    QTest::newRow("birth date in the future")         << "130102209912310015" << true  << 1 << "130102" << QDate(2099, 12, 31)  << 1 << 2;
    // The rejected dates below carry their correct check characters: only the date is wrong.
    QTest::newRow("29 February 1999")                 << "13010219990229123X" << false << 1 << "130102" << none << 0 << 0;
    QTest::newRow("month 00")                         << "130102198500171230" << false << 1 << "130102" << none << 0 << 0;
    QTest::newRow("month 13")                         << "13010219851317123X" << false << 1 << "130102" << none << 0 << 0;
    QTest::newRow("day 00")                           << "130102198503001237" << false << 1 << "130102" << none << 0 << 0;
    QTest::newRow("year 0000")                        << "130102000001010014" << false << 1 << "130102" << none << 0 << 0;
    QTest::newRow("15 characters, 30 February")       << "130102850230123"    << false << 0 << "130102" << none << 0 << 0;
    QTest::newRow("wrong check character")            << "130102198503171237" << false << 1 << "130102" << QDate(1985, 3, 17) << 1 << 0;
    QTest::newRow("X where a digit is due")           << "13010219850317123X" << false << 1 << "130102" << QDate(1985, 3, 17) << 1 << 0;
    QTest::newRow("letter among the first 17")        << "1301A2198503171236" << false << 0 << "" << none << 0 << 0;
    QTest::newRow("letter as 17th character")         << "1301021985031712A6" << false << 0 << "" << none << 0 << 0;
    QTest::newRow("17th character X")                 << "1301021985031712XX" << false << 0 << "" << none << 0 << 0;
    QTest::newRow("18th character a letter")          << "13010219850317123A" << false << 0 << "" << none << 0 << 0;
    QTest::newRow("15 characters with an X")          << "13010285031712X"    << false << 0 << "" << none << 0 << 0;
    QTest::newRow("full-width digits")                << u"１３０１０２８５０３１７１２３"_qs << false << 0 << "" << none << 0 << 0;
    QTest::newRow("length 14")                        << "13010285031712"     << false << 0 << "" << none << 0 << 0;
    QTest::newRow("length 16")                        << "1301028503171231"   << false << 0 << "" << none << 0 << 0;
    QTest::newRow("length 17")                        << "13010219850317123"  << false << 0 << "" << none << 0 << 0;
    QTest::newRow("length 19")                        << "1301021985031712360" << false << 0 << "" << none << 0 << 0;
    QTest::newRow("blanks around")                    << " 130102198503171236 " << false << 0 << "" << none << 0 << 0;
    QTest::newRow("empty")                            << ""                   << false << 0 << "" << none << 0 << 0;
    // clang-format on
}

void TestAscidnum::parseIDNumber() {
    QFETCH(QString, number);
    QFETCH(bool, ok);

    TIDNumInfo info;
    info.IDKind = 7;
    info.RegionCode = "999999";
    info.RegionName = "旧地名";
    info.BirthDate = QDate(1970, 1, 1);
    info.Sex = 9;
    info.CheckState = 9;

    QCOMPARE(ParseIDNumber(number, info), ok);
    QTEST(int(info.IDKind), "kind");
    QTEST(info.RegionCode, "region");
    QVERIFY(info.RegionName.isEmpty());
    QTEST(info.BirthDate, "birth");
    QTEST(int(info.Sex), "sex");
    QTEST(int(info.CheckState), "checkState");
}

// Worked by hand for 32010619800101001?:
//   digits   3  2  0  1  0  6  1  9  8  0  0  1  0  1  0  0  1
//   weights  7  9 10  5  8  4  2  1  6  3  7  9 10  5  8  4  2
//   products 21+18+0+5+0+24+2+9+48+0+0+9+0+5+0+0+2 = 143 = 13 * 11, remainder 0,
//   and "10X98765432"[0] is '1'.
// The other rows the same way: 11010519491231002 sums to 167 (rem 2, 'X'), 510107197612310010
// to 210 (rem 1, '0'), 440304199201010059 to 190 (rem 3, '9'), 110101199003070214 to 162
// (rem 8, '4').
void TestAscidnum::checkChar_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<QChar>("check");

    QTest::newRow("remainder 0") << "320106198001010011" << QChar(u'1');
    QTest::newRow("remainder 1") << "510107197612310010" << QChar(u'0');
    QTest::newRow("remainder 2") << "11010519491231002X" << QChar(u'X');
    QTest::newRow("remainder 3") << "440304199201010059" << QChar(u'9');
    QTest::newRow("remainder 8") << "110101199003070214" << QChar(u'4');
    QTest::newRow("18th character is ignored") << "110101199003070210" << QChar(u'4');
    QTest::newRow("length 17") << "11010119900307021" << QChar(u' ');
    QTest::newRow("length 19") << "1101011990030702140" << QChar(u' ');
    QTest::newRow("empty") << "" << QChar(u' ');
}

void TestAscidnum::checkChar() {
    QFETCH(QString, number);
    QTEST(GetCheckChar(number), "check");
}

void TestAscidnum::allDigits_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("digits");

    QTest::newRow("all ten digits") << "0123456789" << true;
    QTest::newRow("one digit") << "7" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("letter at the end") << "12345a" << false;
    QTest::newRow("blank") << "12 34" << false;
    QTest::newRow("sign") << "-1234" << false;
    QTest::newRow("full-width digits") << u"１２３"_qs << false;
    QTest::newRow("Arabic-Indic digits") << u"\u0661\u0662"_qs << false;
}

void TestAscidnum::allDigits() {
    QFETCH(QString, text);
    QTEST(IsAllDigits(text), "digits");
}

void TestAscidnum::splitString_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("parts");

    QTest::newRow("empty text") << "" << QStringList();
    QTest::newRow("no separator") << "北京市" << QStringList{"北京市"};
    QTest::newRow("two fields") << "110000,北京市" << QStringList{"110000", "北京市"};
    QTest::newRow("separator at the end") << "110000,北京市," << QStringList{"110000", "北京市", ""};
    QTest::newRow("separator at the start") << ",北京市" << QStringList{"", "北京市"};
    QTest::newRow("two separators in a row") << "a,,b" << QStringList{"a", "", "b"};
    QTest::newRow("separator alone") << "," << QStringList{"", ""};
    QTest::newRow("separators only") << ",," << QStringList{"", "", ""};
    QTest::newRow("blanks kept") << " a , b " << QStringList{" a ", " b "};
}

void TestAscidnum::splitString() {
    QFETCH(QString, text);
    QFETCH(QStringList, parts);

    TStrArray result{"left over"};
    QCOMPARE(SplitString(text, u',', result), parts.size());
    QCOMPARE(result, parts);
}

void TestAscidnum::regionName_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");

    QTest::newRow("province only, city not in table") << "139901"
                                                      << "河北省";
    QTest::newRow("province's own code") << "130000"
                                         << "河北省";
    QTest::newRow("city's own code, named once") << "130100"
                                                 << "河北省石家庄市";
    QTest::newRow("city without counties, named once") << "130200"
                                                       << "河北省唐山市";
    QTest::newRow("county under a city") << "130102"
                                         << "河北省石家庄市长安区";
    QTest::newRow("county not in table") << "130199"
                                         << "河北省石家庄市";
    QTest::newRow("city's own 市辖区 entry") << "130101"
                                             << "河北省石家庄市";
    QTest::newRow("district under 市辖区") << "110101"
                                           << "北京市东城区";
    QTest::newRow("municipality's 市辖区 code") << "110100"
                                                << "北京市";
    QTest::newRow("county under 县") << "120225"
                                     << "天津市蓟县";
    QTest::newRow("province missing, county present") << "210102"
                                                      << "";
    QTest::newRow("province 10") << "100100"
                                 << "";
    QTest::newRow("province 09") << "090100"
                                 << "";
    QTest::newRow("province 11, lowest valid") << "110000"
                                               << "北京市";
    QTest::newRow("five characters") << "13010"
                                     << "";
    QTest::newRow("seven characters") << "1301020"
                                      << "";
    QTest::newRow("not all digits") << "1301a2"
                                    << "";
    QTest::newRow("blank inside") << "130 02"
                                  << "";
}

void TestAscidnum::regionName() {
    QFETCH(QString, code);
    QTEST(GetRegionNameIn(code, m_fixture), "name");
}

void TestAscidnum::loadRegionCodeFile_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("loaded");

    QTest::newRow("comments and empty lines")
        << gbk("# 代码,名称\r\n\r\n110000,北京市\r\n#110100,市辖区\r\n\r\n") << QStringList{"110000=北京市"};
    QTest::newRow("unusable lines skipped") << gbk("110000,北京市,多余\r\n"
                                                   "110100,市辖区,\r\n"
                                                   "11010,五位\r\n"
                                                   "1101011,七位\r\n"
                                                   "11010A,字母\r\n"
                                                   " 110102,前有空格\r\n"
                                                   "110105,\r\n"
                                                   "110106\r\n"
                                                   "130000,河北省\r\n")
                                            << QStringList{"130000=河北省"};
    QTest::newRow("blanks around the name kept") << gbk("110000, 北京 市 \r\n") << QStringList{"110000= 北京 市 "};
    QTest::newRow("LF line breaks") << gbk("110000,北京市\n110100,市辖区\n")
                                    << QStringList{"110000=北京市", "110100=市辖区"};
    QTest::newRow("CR line breaks") << gbk("110000,北京市\r110100,市辖区\r")
                                    << QStringList{"110000=北京市", "110100=市辖区"};
    QTest::newRow("mixed breaks, no break at the end")
        << gbk("110000,北京市\r\n110100,市辖区\n110101,东城区\r110102,西城区")
        << QStringList{"110000=北京市", "110100=市辖区", "110101=东城区", "110102=西城区"};
    QTest::newRow("out of order, sorted") << gbk("130000,河北省\r\n110101,东城区\r\n110000,北京市\r\n")
                                          << QStringList{"110000=北京市", "110101=东城区", "130000=河北省"};
    QTest::newRow("equal codes keep file order")
        << gbk("110000,甲\r\n120000,乙\r\n110000,丙\r\n") << QStringList{"110000=甲", "110000=丙", "120000=乙"};
    // Enough entries that an unstable sort would mix up equal codes: every code twice, all
    // first names before all second names, codes descending.
    QString many;
    QStringList manySorted;
    for (const QString& tag : {QStringLiteral("甲"), QStringLiteral("乙")}) {
        for (int code = 110099; code >= 110000; --code)
            many += QString::number(code) + u',' + tag + QString::number(code) + "\r\n";
    }
    for (int code = 110000; code <= 110099; ++code) {
        for (const QString& tag : {QStringLiteral("甲"), QStringLiteral("乙")})
            manySorted << QString::number(code) + u'=' + tag + QString::number(code);
    }
    QTest::newRow("many equal codes keep file order") << gbk(many) << manySorted;
    QTest::newRow("only unusable lines") << gbk("# 注释\r\n11000,北京市\r\n") << QStringList();
    QTest::newRow("empty file") << QByteArray() << QStringList();
}

void TestAscidnum::loadRegionCodeFile() {
    QFETCH(QByteArray, content);
    QFETCH(QStringList, loaded);

    const QString path = writeFile(m_dir, QString("load_%1.dat").arg(QTest::currentDataTag()), content);
    TRegionCodeTransArray table{{"999999", "旧表"}};
    QCOMPARE(LoadRegionCodeFile(path, table), !loaded.isEmpty());
    QCOMPARE(entries(table), loaded);
    // Whatever the file's order, the binary search finds every entry.
    for (const TRegionCodeTransRec& rec : std::as_const(table))
        QVERIFY2(!FindRegionName(rec.Code, table).isEmpty(), qPrintable(rec.Code));
}

void TestAscidnum::missingOrUnreadableFile() {
    TRegionCodeTransArray table{{"110000", "北京市"}};
    QVERIFY(!LoadRegionCodeFile(m_dir.filePath("no such file.dat"), table));
    QVERIFY(table.isEmpty());

    table = {{"110000", "北京市"}};
    QVERIFY(!LoadRegionCodeFile(m_dir.path(), table)); // a folder: exists, cannot be read as a file
    QVERIFY(table.isEmpty());
}

// The region file of the installation, through the process-wide table.
void TestAscidnum::installationRegionTable() {
    TIDNumInfo info;
    QVERIFY(ParseIDNumber(u"11010519491231002X", info));
    info.RegionName = "未查";
    QVERIFY(!FillRegionName(info)); // nothing loaded yet: the name is left alone
    QCOMPARE(info.RegionName, "未查");

    QVERIFY(LoadRegionCodes(QStringLiteral(QITANG_INSTALL_DIR "/regioncode.dat")));
    const TRegionCodeTransArray& table = RegionTable();
    QVERIFY2(table.size() >= 3000, qPrintable(QString::number(table.size())));
    for (qsizetype i = 1; i < table.size(); ++i)
        QVERIFY2(table[i - 1].Code.toInt() <= table[i].Code.toInt(), qPrintable(table[i].Code));

    QCOMPARE(GetRegionName(u"110101"), "北京市东城区");
    QCOMPARE(GetRegionName(u"130100"), "河北省石家庄市");
    QCOMPARE(GetRegionName(u"130102"), "河北省石家庄市长安区");
    QCOMPARE(GetRegionName(u"650000"), "新疆维吾尔自治区");

    QVERIFY(FillRegionName(info));
    QCOMPARE(info.RegionName, "北京市朝阳区");

    info.RegionCode = "990000";
    QVERIFY(!FillRegionName(info));
    QCOMPARE(info.RegionName, "北京市朝阳区");

    // A later load replaces the table whole, also when it fails.
    QVERIFY(!LoadRegionCodes(m_dir.filePath("no such file.dat")));
    QVERIFY(RegionTable().isEmpty());
    QCOMPARE(GetRegionName(u"110101"), "");
}

QTEST_GUILESS_MAIN(TestAscidnum)
#include "tst_ascidnum.moc"
