#pragma once

#include <QString>

// Times loading the installation's region file and parsing identity numbers with their place
// names; prints one line per measurement with its target.
void runAscidnumBench(const QString& installDir);
