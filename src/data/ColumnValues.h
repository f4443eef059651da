#pragma once

#include "data/Connection.h"

#include <QVariant>

struct sqlite3_stmt;

// The kind of a value SQLite holds, for a column without a declared type.
FieldType dynamicType(int sqliteType);
// Turns one column of a stepped statement into the value of a field of the given kind.
QVariant readColumn(sqlite3_stmt* stmt, int index, FieldType type, bool declared);
// Binds a field value to a statement parameter.
void bindValue(sqlite3_stmt* stmt, int index, const QVariant& value);
