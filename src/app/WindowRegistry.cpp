#include "app/WindowRegistry.h"

#include "app/Tclass_ctr_form.h"

void registerProgramWindows(Tclass_ctr_form& dispatcher)
{
    // The function windows register here as they join the program; until then their actions
    // stay disabled on the toolbar.
    (void)dispatcher;
}
