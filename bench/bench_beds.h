#pragma once

// Batch creation of beds: 10,000 beds through the batch routine against a plain sqlite3 insert
// of the same rows in one transaction.
void runBedsBench();
