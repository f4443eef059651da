#pragma once

class Tclass_ctr_form;

// Registers the window of every function the program has with the dispatcher.
void registerProgramWindows(Tclass_ctr_form& dispatcher);
