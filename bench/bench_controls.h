#pragma once

// Figures of the controls: showing a grid over a large dataset against opening the dataset
// alone, and moving its current record from the first row to the last.
void runControlsBench();
