#pragma once

#include <QColor>
#include <QPointer>
#include <QString>
#include <QWidget>

// The one grid row style the windows share: occupied beds and current check-ins.
struct GridRowStyle {
    QColor background;
    QColor text;
};

// Process-wide values that every window shares. Created empty at start, living until exit;
// each is written only by the routine that owns it (data module creation, login, dispatcher).
struct SharedValues {
    QString applicationFolder; // folder of the executable, ending with "/"
    QString rootFolder;        // where the daily error log, the last operator code and exports go
    QString ServerName;
    QString SettlementDay;
    QString FieldCaption1;
    QString FieldCaption2;
    QString FieldCaption3;
    QString FieldCaption4;
    QString OperatorName;
    bool LoginCancelled = false;
    int CurrentFunctionCode = 0;
    int PreviousFunctionCode = 0;
    QString CurrentFunctionCaption;
    QPointer<QWidget> CurrentChildWindow;
    GridRowStyle HighlightStyle;
    // The code of the row being edited, taken when an edit begins; save routines compare with it.
    QString EditOldCode;

    QString fieldCaption(int index) const;
};

SharedValues& Shared();

// Puts every shared value back to its start state (tests start each case from scratch).
void resetSharedValues();
