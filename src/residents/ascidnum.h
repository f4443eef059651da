#pragma once

#include <QChar>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// Resident identity numbers (15 or 18 characters) and the place names of their region codes.
// The region table comes from the installation's regioncode.dat; no routine here shows a message
// or throws: a bad number is a false result, an unknown region an empty name.

// What one identity number says about its holder.
struct TIDNumInfo {
    quint8 IDKind = 0;  // 0: 15 characters, 1: 18 characters
    QString RegionCode; // the first six characters
    QString RegionName; // composed place name, filled by FillRegionName
    QDate BirthDate;
    quint8 Sex = 0;        // 0 not set, 1 male, 2 female
    quint8 CheckState = 0; // 2 when the check character of an 18-character number matched, else 0
};

// One entry of the region table: a six-digit code and its (never empty) name.
struct TRegionCodeTransRec {
    QString Code;
    QString Name;
};

using TRegionCodeTransArray = QList<TRegionCodeTransRec>;

// A region code cut into its three two-character levels.
struct TSepRegionCode {
    QString Province; // characters 1-2
    QString City;     // characters 3-4
    QString County;   // characters 5-6
};

using TStrArray = QStringList;

// c is one of the characters 0..9 (other scripts' digits do not count).
bool IsDigitChar(QChar c);

// s is not empty and every character is 0..9.
bool IsAllDigits(QStringView s);

// The check character (ISO 7064 MOD 11-2) of an 18-character number, from its first 17 digits.
// A space when s is not 18 characters long or its first 17 are not all digits.
QChar GetCheckChar(QStringView s);

// Validates a 15- or 18-character identity number and fills info from it. Every field of info is
// cleared first. On a false result the fields already worked out stay filled but mean nothing.
bool ParseIDNumber(QStringView s, TIDNumInfo& info);

// The name of the entry whose code has the numeric value of code, by binary search over a table
// in ascending code order; empty when there is none.
QString FindRegionName(QStringView code, const TRegionCodeTransArray& table);

// Province, city and county names of a six-digit code joined without separator, leaving out the
// grouping entries "市辖区" and "县"; empty when the code is malformed or its province is unknown.
QString GetRegionNameIn(QStringView code, const TRegionCodeTransArray& table);

// GetRegionNameIn over the process-wide region table.
QString GetRegionName(QStringView code);

// Puts the place name of info.RegionCode into info.RegionName and returns true when there is one;
// otherwise leaves RegionName as it was and returns false.
bool FillRegionName(TIDNumInfo& info);

// Cuts s at every separator into parts and returns their count. Empty fields count: ",," gives
// three empty parts, "a," gives "a" and "". An empty s gives no parts.
int SplitString(QStringView s, QChar separator, TStrArray& parts);

// Replaces table with the usable lines of a GBK region file ("code,name", "#" comments), sorted
// stably by code. True when at least one entry was loaded; a missing or unreadable file gives an
// empty table.
bool LoadRegionCodeFile(const QString& path, TRegionCodeTransArray& table);

// LoadRegionCodeFile into the process-wide region table.
bool LoadRegionCodes(const QString& path);

// The process-wide region table: empty until LoadRegionCodes runs, replaced whole by each load.
TRegionCodeTransArray& RegionTable();
