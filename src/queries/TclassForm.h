#pragma once

#include <QString>

class DataGrid;

// The grid export (reached through TclassAllClass): writes the visible columns of a grid and
// every record of its dataset into the root folder's "book1.xlsx" and opens it in the
// desktop's spreadsheet program.
class TclassForm {
public:
    // Lists of at least this many records show a progress dialog while they are written.
    static constexpr int kProgressRecords = 5000;
    // Records written between two updates of the progress dialog.
    static constexpr int kProgressStep = 500;

    // False when the workbook could not be written, the user cancelled, or no spreadsheet
    // program could be started (the user has been told which, apart from cancelling).
    bool ExportGrid(DataGrid& grid);

    // The workbook every export overwrites.
    static QString exportPath();
};
