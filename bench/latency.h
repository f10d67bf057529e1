// End-to-end latency with real input from xdotool: F5 to the host's
// WM_FKEY_COMMAND against an ordinary key's arrival at a focused window of
// another process, and a click outside the guard window to WM_GUARD_ALERT
// against the click's own arrival at its window. Each sample is also split at
// the first low-level hook, a time-stamping hook of the benchmark's own.
#pragma once
#include <vector>
#include "procedure_costs.h"
#include "report.h"

std::vector<Row> LatencyRows(const Libraries &libraries, unsigned rounds);
