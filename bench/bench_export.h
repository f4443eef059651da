#pragma once

// Figures of the grid export: a 100000-row grid written to a workbook against libxlsxwriter
// writing the same cells directly, and the memory the export takes while it runs.
void runExportBench();
