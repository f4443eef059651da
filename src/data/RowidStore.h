#pragma once

#include "data/RowStore.h"

struct JetStatement;

// Rows of one table, fixed as a list of rowids when opened and read in pages as they are reached.
std::unique_ptr<RowStore> openRowidStore(Connection& connection, const JetStatement& statement, const QString& shown);
