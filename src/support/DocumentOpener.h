#pragma once

#include <QString>

// Opens a file in the program the desktop associates with it (the spreadsheet program for a
// workbook). Behind an interface so that tests can answer without starting anything.
class DocumentOpener {
public:
    virtual ~DocumentOpener() = default;
    // False when no program could be started for the file.
    virtual bool open(const QString& path) = 0;
};

// The opener in use; until one is installed, no file can be opened and every call returns false.
DocumentOpener& documentOpener();
void setDocumentOpener(DocumentOpener* opener);
