#pragma once

#include <QString>
#include <QStringList>

// The tables of ss.mdb. Text columns compare without regard to letter case (as the
// statements of the windows expect), yes/no columns are never null, date-times are
// stored as text "yyyy-MM-dd hh:mm:ss".
namespace Schema {

// The statements that create every table and index of a new database.
QStringList createStatements();

// The rows a new database starts with: the operator "system" with an empty password,
// its identifier handed out through maxvalue like every other baseinfo row.
QStringList initialRowStatements();

} // namespace Schema
