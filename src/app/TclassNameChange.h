#pragma once

#include <QList>
#include <QString>

// The actions of the main window and the function each one runs.
struct FunctionEntry {
    QString actionName;    // e.g. "act_client_fw"
    QString actionCaption; // shown on the toolbar
    QString category;
    QString shortcut;      // empty when none
    int code;              // function code
    QString caption;       // window title, status bar text and log text
    QString icon;          // picture in the program's resources
};

// Maps an action name (exact match, letter case included) to its function code and caption.
class TclassNameChange {
public:
    static const QList<FunctionEntry>& entries();
    // -1 / empty for an unknown name.
    int NameToCode(const QString& actionName) const;
    QString NameToCaption(const QString& actionName) const;
    static const FunctionEntry* find(const QString& actionName);
};
