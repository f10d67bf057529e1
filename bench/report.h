// The benchmark's one table: a row per figure, each with its ratio to a
// baseline measured in the same run, and the goal it is held to.
#pragma once
#include <string>
#include <vector>
#include "interleave.h"

struct Row {
    std::string figure;
    std::string detail;       // platform calls made, or a DLL's imports
    std::string measured;     // the subject's median
    std::string vsBaseline;   // ratio to the figure's own baseline, and that baseline
    std::string vsPassOnly;   // hook procedures only
    std::string vsReturnZero; // hook procedures only
    std::string goal;         // the goal and whether it is met, or empty
};

void PrintTable(const std::vector<Row> &rows);

// "3.1 ns", "27.4 us", "1.52 ms"
std::string Duration(double nanoseconds);
// "7.5 KiB"
std::string Size(double bytes);
// "1.01 (same calls: 26.9 us, +0.2 us)": the median of the paired ratios,
// the baseline's median and the median of the paired differences.
std::string TimedRatio(const Comparison &comparison, const std::string &baseline);
// "0.09 (ordinary MinGW: 84.0 KiB)"
std::string SizeRatio(double subject, double baseline, const std::string &name);
// "<= 1.05: met" or "<= 1.05: MISSED"
std::string GoalText(const std::string &goal, bool met);
