#include "controls/ControlRoutines.h"

#include "controls/BitButton.h"
#include "controls/DataGrid.h"
#include "controls/Tagged.h"
#include "controls/TaggedGroupBox.h"
#include "data/Dataset.h"
#include "support/MessageService.h"
#include "support/SharedValues.h"

#include <QMenu>

void ToggleControls(QWidget* window, bool byFunctionCode)
{
    if (!window)
        return;
    const int code = Shared().CurrentFunctionCode;
    const QList<QWidget*> widgets = window->findChildren<QWidget*>();
    for (QWidget* widget : widgets) {
        if (!qobject_cast<BitButton*>(widget) && !qobject_cast<DataGrid*>(widget) &&
            !qobject_cast<TaggedGroupBox*>(widget))
            continue;
        if (byFunctionCode && tagOf(widget) != code)
            continue;
        // The widget's own flag, not isEnabled(): a control inside a disabled box is still
        // switched, and comes back right when the box is enabled again.
        widget->setEnabled(widget->testAttribute(Qt::WA_ForceDisabled));
    }
}

void SetPopupMenuEnabled(QMenu* menu, bool enabled)
{
    if (!menu)
        return;
    const QList<QAction*> actions = menu->actions();
    for (QAction* action : actions)
        action->setEnabled(enabled);
}

void ConfirmDelete(Dataset& query, const QString& noun)
{
    if (!askYesNo(QStringLiteral("是否要删除该") + noun))
        return;
    if (!query.isEmpty())
        query.deleteRecord();
}
