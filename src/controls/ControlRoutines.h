#pragma once

#include <QString>

class Dataset;
class QMenu;
class QWidget;

// Switches a window between its browse and edit layouts: every bit button, data grid and
// tagged group box inside the window, in creation order, has its own enabled flag inverted.
// With byFunctionCode only those whose tag equals the current function code are switched.
// Calling it twice restores the previous state.
void ToggleControls(QWidget* window, bool byFunctionCode);

// Every item of the pop-up menu gets the enabled state.
void SetPopupMenuEnabled(QMenu* menu, bool enabled);

// Asks "是否要删除该" + noun (Yes / No); on Yes deletes the current record of a non-empty query.
void ConfirmDelete(Dataset& query, const QString& noun);
