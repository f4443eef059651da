#pragma once

#include <QString>

class Dataset;
class QWidget;

// The add / edit / save / cancel / delete cycle on reference rows of the table baseinfo, shared
// by the windows that keep such rows. One process-wide instance, reached through
// TclassAllClass::get<Tclass_ctr_Baseinfo>(). `toggle` is handed to ToggleControls as its
// by-function-code flag.
class Tclass_ctr_Baseinfo {
public:
    // A new identifier for "baseinfo", a new record with it and the flag kind, the window in
    // edit layout and the focus in the edit; returns the identifier as text.
    QString BeginAdd(Dataset& query, QWidget* editToFocus, int flag, QWidget* window, bool toggle);
    // The current record in edit state, its code kept as EditOldCode, the window in edit layout
    // and the focus in the edit.
    void BeginEdit(Dataset& query, QWidget* editToFocus, QWidget* window, bool toggle);
    // Posts the record when its code is free ("此" + noun + "已经存在，请输入其他" + noun + "！"
    // and false otherwise, the record still pending); an insert is reopened after the post.
    // Then the window returns to its browse layout and the result is true.
    bool SaveRecord(int flag, Dataset& query, const QString& newCode, const QString& oldCode, const QString& noun,
                    QWidget* window, bool toggle);
    // Discards the pending insert or edit and returns the window to its browse layout.
    void CancelRecord(Dataset& query, QWidget* window, bool toggle);
    // Nothing on an empty query; otherwise ConfirmDelete with the noun.
    void DeleteRecord(Dataset& query, const QString& noun);
    // A new code must be free among the rows of the flag kind; a changed one free apart from
    // the rows with the old code.
    bool CheckCode(int flag, const QString& code, bool isNew, const QString& oldCode = QString());
};
