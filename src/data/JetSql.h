#pragma once

#include <QString>

// Translates the statements the windows compose in the Jet (Access) dialect into SQLite SQL.
// The translation is a real parse (tokenizer and expression parser); a construct it does not
// know is a DatabaseError whose statement() is the original text.
struct JetStatement {
    enum class Kind { Select, Insert, Update, Delete };
    Kind kind = Kind::Select;
    QString sqlite; // the whole statement as SQLite SQL
    QString table;  // the table after FROM / INTO / UPDATE, as written (without brackets)
    // For a select over one table without grouping, aggregates or DISTINCT, whose rows can be
    // read one by one by rowid; the pieces below are then filled (translated).
    bool rowAddressable = false;
    QString selectList; // "*" or the translated select list
    QString where;      // translated condition, empty when there is none
    QString orderBy;    // translated order list without "ORDER BY", empty when there is none
};

// Throws DatabaseError when the text is not a statement the translator knows.
JetStatement translateJet(const QString& jetSql);
