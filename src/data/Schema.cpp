#include "data/Schema.h"

namespace Schema {

// Declared types map to field kinds in Dataset: INTEGER, DOUBLE, TEXT(n), LONGTEXT (memo),
// BOOLEAN, DATETIME.
QStringList createStatements()
{
    return {
        "CREATE TABLE baseinfo ("
        " id INTEGER, flag INTEGER,"
        " code TEXT(255) COLLATE NOCASE, name TEXT(255) COLLATE NOCASE,"
        " expand1 TEXT(255) COLLATE NOCASE, expand2 TEXT(255) COLLATE NOCASE,"
        " expand3 TEXT(255) COLLATE NOCASE, expand4 TEXT(255) COLLATE NOCASE,"
        " expand9 DATETIME,"
        " expand10 BOOLEAN NOT NULL DEFAULT 0, expand11 BOOLEAN NOT NULL DEFAULT 0,"
        " expand12 DOUBLE, expand13 DOUBLE,"
        " expand20 LONGTEXT COLLATE NOCASE, expand30 LONGTEXT COLLATE NOCASE,"
        " field1 DOUBLE, field2 DOUBLE, field3 DOUBLE, field4 DOUBLE, field5 DOUBLE, field6 DOUBLE,"
        " main_tree INTEGER, bm_id INTEGER)",
        "CREATE INDEX baseinfo_flag_code ON baseinfo(flag, code)",
        "CREATE INDEX baseinfo_flag_tree ON baseinfo(flag, main_tree)",
        "CREATE INDEX baseinfo_id ON baseinfo(id)",

        "CREATE TABLE client_into ("
        " id INTEGER, istrue BOOLEAN NOT NULL DEFAULT 1,"
        " fwcode TEXT(50) COLLATE NOCASE, xm TEXT(50) COLLATE NOCASE, cph TEXT(50) COLLATE NOCASE,"
        " dw TEXT(100) COLLATE NOCASE, bm_id INTEGER, xb TEXT(10) COLLATE NOCASE,"
        " hj TEXT(255) COLLATE NOCASE, xl TEXT(50) COLLATE NOCASE, zw TEXT(50) COLLATE NOCASE,"
        " sfzh TEXT(30) COLLATE NOCASE, lxdh TEXT(50) COLLATE NOCASE, yhzh TEXT(50) COLLATE NOCASE,"
        " rzrq DATETIME, mzrq DATETIME, csrq DATETIME,"
        " yjqk TEXT(20) COLLATE NOCASE, fyqk TEXT(20) COLLATE NOCASE,"
        " yj DOUBLE, zj DOUBLE, zdy1 DOUBLE, zdy2 DOUBLE, zdy3 DOUBLE, zdy4 DOUBLE,"
        " flxz TEXT(20) COLLATE NOCASE, memo1 LONGTEXT COLLATE NOCASE, grqkbz LONGTEXT COLLATE NOCASE,"
        " gzxz TEXT(50) COLLATE NOCASE, wx DOUBLE, fk DOUBLE, wyls_gtf DOUBLE)",
        "CREATE INDEX client_into_istrue ON client_into(istrue)",
        "CREATE INDEX client_into_id ON client_into(id)",
        "CREATE INDEX client_into_fwcode ON client_into(fwcode)",

        "CREATE TABLE tf1 ("
        " xm TEXT(50) COLLATE NOCASE, fwcode TEXT(50) COLLATE NOCASE, cph TEXT(50) COLLATE NOCASE,"
        " flxz TEXT(20) COLLATE NOCASE, dw TEXT(100) COLLATE NOCASE, yhzh TEXT(50) COLLATE NOCASE,"
        " bm TEXT(100) COLLATE NOCASE, rzrq DATETIME, tfrq DATETIME, zj DOUBLE,"
        " fields1 DOUBLE, fields2 DOUBLE, fields3 DOUBLE, fields4 DOUBLE,"
        " yj DOUBLE, hj DOUBLE, memo1 LONGTEXT COLLATE NOCASE)",
        "CREATE INDEX tf1_tfrq ON tf1(tfrq)",

        "CREATE TABLE maxvalue (tablename TEXT(50) COLLATE NOCASE, id INTEGER)",
        "CREATE INDEX maxvalue_table_id ON maxvalue(tablename, id)",

        "CREATE TABLE log (code TEXT(50) COLLATE NOCASE, gn TEXT(100) COLLATE NOCASE, oprdate DATETIME)",
        // Also lets the log's row set be fixed from this small index instead of the whole table.
        "CREATE INDEX log_oprdate ON log(oprdate)",
    };
}

QStringList initialRowStatements()
{
    return {
        QStringLiteral("INSERT INTO maxvalue(tablename, id) VALUES ('baseinfo', 1)"),
        QStringLiteral("INSERT INTO baseinfo(id, flag, code, name, expand1) VALUES (1, 9, 'system', '系统管理员', '')"),
    };
}

} // namespace Schema
