#pragma once

#include "data/RowStore.h"

// A result read whole when opened: aggregates, grouped or distinct selects. Read-only.
std::unique_ptr<RowStore> openMaterialStore(Connection& connection, const QString& sqliteSql, const QString& shown);
