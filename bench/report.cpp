#include "report.h"
#include <cmath>
#include <cstdio>

static std::string Format(const char *format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Duration(double nanoseconds)
{
    double magnitude = std::fabs(nanoseconds);
    if (magnitude < 1000)
        return Format("%.1f ns", nanoseconds);
    if (magnitude < 1000000)
        return Format("%.1f us", nanoseconds / 1000);
    return Format("%.2f ms", nanoseconds / 1000000);
}

std::string Size(double bytes)
{
    return Format("%.1f KiB", bytes / 1024);
}

// Two decimals where the goals are, fewer digits for ratios far from them.
static std::string RatioNumber(double ratio)
{
    if (ratio >= 100)
        return Format("%.0f", ratio);
    if (ratio >= 10)
        return Format("%.1f", ratio);
    if (ratio < 0.01)
        return Format("%.1e", ratio);
    return Format("%.2f", ratio);
}

std::string TimedRatio(const Comparison &comparison, const std::string &baseline)
{
    std::string sign = comparison.added >= 0 ? "+" : "";
    return RatioNumber(comparison.ratio) + " (" + baseline + ": " + Duration(comparison.baseline) + ", " + sign +
           Duration(comparison.added) + ")";
}

std::string SizeRatio(double subject, double baseline, const std::string &name)
{
    return RatioNumber(subject / baseline) + " (" + name + ": " + Size(baseline) + ")";
}

std::string GoalText(const std::string &goal, bool met)
{
    return goal + (met ? ": met" : ": MISSED");
}

void PrintTable(const std::vector<Row> &rows)
{
    std::printf("| Figure | Calls or imports | Median | Ratio to its baseline | Ratio to pass-only | "
                "Ratio to return-0 | Goal |\n");
    std::printf("| --- | --- | --- | --- | --- | --- | --- |\n");
    for (const Row &row : rows)
        std::printf("| %s | %s | %s | %s | %s | %s | %s |\n", row.figure.c_str(), row.detail.c_str(),
                    row.measured.c_str(), row.vsBaseline.c_str(), row.vsPassOnly.c_str(),
                    row.vsReturnZero.c_str(), row.goal.c_str());
    std::fflush(stdout);
}
