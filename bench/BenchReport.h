#pragma once

#include <QElapsedTimer>
#include <QString>
#include <functional>

// One line per figure: "<name>: <value> <unit> (target <target>) ok" or "... MISS".
void printFigure(const QString& name, double value, const QString& unit, const QString& target, bool ok);

// Milliseconds of the fastest of `runs` runs of the work.
double bestOfMs(int runs, const std::function<void()>& work);

// Resident memory of this process in megabytes.
double residentMegabytes();

// A folder for the benchmark's databases, removed at exit.
QString benchFolder();

struct sqlite3;
// Runs a set-up statement; a failure ends the benchmark with its message.
void execOrDie(sqlite3* db, const char* sql);
// Runs an insert once for each number 1..count, bound as ?1 (set-up of large fixtures).
void insertNumbered(sqlite3* db, const char* sql, int count);
