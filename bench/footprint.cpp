#include "footprint.h"
#include <windows.h>
#include <string>
#include "import_table.h"
#include "processes.h"
#include "quarvo_pavrik.h"

namespace {
struct Library {
    const char *file;
    const char *ordinaryFile; // same sources, default MinGW flags, runtime and start-up code
};

const Library libraries[] = {{"quarvo.dll", "quarvo_ordinary.dll"}, {"pavrik.dll", "pavrik_ordinary.dll"}};
const DWORD maximumSize = 16 * 1024;
const double loadBatchMicroseconds = 4000;

double FileSize(const std::string &path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return data.nFileSizeLow;
}

std::string Imports(const std::string &path, std::string (*describe)(HMODULE))
{
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module)
        return "does not load";
    std::string text = describe(module);
    FreeLibrary(module);
    return text;
}

Batch LoadAndUnload(const std::string &path)
{
    return [path](unsigned count) {
        for (unsigned i = 0; i < count; ++i)
            FreeLibrary(LoadLibraryA(path.c_str()));
    };
}

// A host holds both blocks while the system loads the libraries into other
// programs, so each load here opens existing blocks, as it would there.
struct HeldBlocks {
    HANDLE shared = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(QuarvoSharedData),
                                       QUARVO_SHARED_NAME);
    HANDLE control = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(MainControlData),
                                        PAVRIK_CONTROL_NAME);
    ~HeldBlocks()
    {
        CloseHandle(shared);
        CloseHandle(control);
    }
};
} // namespace

std::vector<Row> FootprintRows(unsigned rounds)
{
    HeldBlocks blocks;
    std::vector<Row> rows;
    for (const Library &library : libraries) {
        std::string path = PathBesideProgram(library.file);
        std::string ordinaryPath = PathBesideProgram(library.ordinaryFile);
        double size = FileSize(path), ordinarySize = FileSize(ordinaryPath);
        std::string ordinaryName = "ordinary MinGW, imports " + Imports(ordinaryPath, ImportSummary);
        rows.push_back({std::string(library.file) + ": file size", Imports(path, ImportList), Size(size),
                        SizeRatio(size, ordinarySize, ordinaryName), "", "",
                        GoalText("< 16 KiB", size > 0 && size < maximumSize)});

        Batch load = LoadAndUnload(path), ordinaryLoad = LoadAndUnload(ordinaryPath);
        std::vector<Contender> contenders = {{load, CalibrateCount(load, loadBatchMicroseconds)},
                                             {ordinaryLoad, CalibrateCount(ordinaryLoad, loadBatchMicroseconds)}};
        std::vector<std::vector<double>> times = TimeInterleaved(contenders, rounds, [] {});
        Comparison comparison = Compare(times[0], times[1]);
        rows.push_back({std::string(library.file) + ": LoadLibrary + FreeLibrary", "", Duration(comparison.subject),
                        TimedRatio(comparison, "ordinary MinGW"), "", "",
                        GoalText("< 1.00", comparison.ratio < 1.0)});
    }
    return rows;
}
