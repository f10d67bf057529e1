// What each DLL costs a process that has it loaded: file size, imports, and
// the time to load and unload it, against the same library built the
// ordinary MinGW way. Runs before anything else loads the libraries.
#pragma once
#include <vector>
#include "report.h"

std::vector<Row> FootprintRows(unsigned rounds);
