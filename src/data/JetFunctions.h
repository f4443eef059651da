#pragma once

struct sqlite3;

// Registers the SQL functions that translated Jet statements call (jet_add, jet_cstr,
// jet_cint, jet_year, jet_month, jet_day, jet_like ...). Returns false when SQLite refuses one.
bool registerJetFunctions(sqlite3* db);
