#pragma once

// Figures of the data layer: reading a large dataset, connecting with a large log, and the
// memory a large open dataset holds.
void runDataBench();
