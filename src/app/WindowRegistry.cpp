#include "app/WindowRegistry.h"

#include "app/Tclass_ctr_form.h"
#include "premises/TfrmFw.h"
#include "premises/TfrmBaseinfo.h"
#include "premises/TfrmDeptSet.h"

void registerProgramWindows(Tclass_ctr_form& dispatcher)
{
    // The function windows register here as they join the program; until then their actions
    // stay disabled on the toolbar.
    dispatcher.registerWindow(14, [] { return std::make_unique<TfrmFw>(); });
    dispatcher.registerWindow(10, [] { return std::make_unique<TfrmDeptSet>(); });
    dispatcher.registerWindow(18, [] { return std::make_unique<TfrmBaseinfo>(); });
    dispatcher.registerWindow(100, [] { return std::make_unique<TfrmBaseinfo>(); });
}
