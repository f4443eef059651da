#include "common/ConnectedModule.h"

#include "support/SharedValues.h"

#include <QtGlobal>

ConnectedModule::ConnectedModule(const std::function<void(TestFolder&)>& prepare)
{
    resetSharedValues();
    if (prepare)
        prepare(folder);
    dm = std::make_unique<TDM>(folder.path(), folder.path());
    if (!dm->ConnectDatabase(QString()))
        qFatal("the test database does not connect: %s", qPrintable(messages.lastText()));
}
