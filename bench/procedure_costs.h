// What each path of the hook procedures costs per call: the exports called
// directly with crafted records, against baselines built like the libraries,
// and the platform calls each path makes, counted at the import table.
#pragma once
#include <windows.h>
#include <vector>
#include "report.h"

struct Libraries {
    HMODULE quarvo;
    HMODULE pavrik;
    HMODULE baselines;
};

std::vector<Row> ProcedureCostRows(const Libraries &libraries, unsigned rounds);
