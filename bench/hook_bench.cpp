// The benchmarks of quarvo.dll and pavrik.dll, as one table from one run:
// footprint first (before anything loads the libraries), then the cost of
// each hook-procedure path, then end-to-end latency with real input.
//   hook_bench.exe         the full run
//   hook_bench.exe quick   fewer rounds, for trying the benchmark itself
#include <windows.h>
#include <cstdio>
#include <cstring>
#include <string>
#include "footprint.h"
#include "latency.h"
#include "procedure_costs.h"
#include "processes.h"
#include "report.h"

namespace {
struct Rounds {
    unsigned footprint, procedures, latency;
};

std::string Registry(const char *key, const char *value)
{
    char text[256] = {};
    DWORD size = sizeof text - 1;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, key, value, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return "";
    return text;
}

std::string WineVersion()
{
    typedef const char *(CDECL * VersionGetter)();
    VersionGetter get = reinterpret_cast<VersionGetter>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")));
    return get ? std::string("Wine ") + get() : "not under Wine";
}

void PrintHeading()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    std::string processor = Registry("HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0", "ProcessorNameString");
    std::printf("%04u-%02u-%02u, %lu cores (%s), %s\n\n", now.wYear, now.wMonth, now.wDay,
                static_cast<unsigned long>(system.dwNumberOfProcessors), processor.c_str(), WineVersion().c_str());
}

void Append(std::vector<Row> *rows, const std::vector<Row> &more)
{
    rows->insert(rows->end(), more.begin(), more.end());
}
} // namespace

int main(int argc, char **argv)
{
    bool quick = argc > 1 && std::strcmp(argv[1], "quick") == 0;
    Rounds rounds = quick ? Rounds{5, 9, 5} : Rounds{61, 201, 101};
    PrintHeading();

    std::vector<Row> rows = FootprintRows(rounds.footprint);
    Libraries libraries = {LoadLibraryA(PathBesideProgram("quarvo.dll").c_str()),
                           LoadLibraryA(PathBesideProgram("pavrik.dll").c_str()),
                           LoadLibraryA(PathBesideProgram("bench_baselines.dll").c_str())};
    if (!libraries.quarvo || !libraries.pavrik || !libraries.baselines) {
        std::printf("could not load quarvo.dll, pavrik.dll or bench_baselines.dll\n");
        return 1;
    }
    Append(&rows, ProcedureCostRows(libraries, rounds.procedures));
    Append(&rows, LatencyRows(libraries, rounds.latency));
    PrintTable(rows);
    return 0;
}
