#pragma once

#include "common/ScriptedMessages.h"
#include "common/TestFolder.h"
#include "data/DataModule.h"

#include <functional>
#include <memory>

// What most tests start from: the shared values reset, a temporary application folder with a new
// database, scripted message boxes, and a data module connected to that database. `prepare`
// runs on the folder before connecting (settings files, fixture rows). A failed connection
// stops the test program: nothing after it would mean anything.
struct ConnectedModule {
    explicit ConnectedModule(const std::function<void(TestFolder&)>& prepare = {});

    TestFolder folder;
    ScriptedMessages messages;
    std::unique_ptr<TDM> dm;
};
