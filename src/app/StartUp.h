#pragma once

// The start-up sequence: application object and title, data module, main window and the
// long-lived dialogs, then the message loop. Returns the program's exit code.
int runProgram(int argc, char* argv[]);

// Makes the pictures of the program available (also for tests that build its windows).
void initProgramResources();
