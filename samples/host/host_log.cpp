#include "host_log.h"
#include <cstdio>
#include <vector>

static std::vector<std::string> lines;
static HWND shownIn = nullptr;
static HANDLE output = nullptr;

static bool IsUsable(HANDLE handle)
{
    return handle && handle != INVALID_HANDLE_VALUE;
}

void LogToStandardOutput()
{
    output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (!IsUsable(output) && AttachConsole(ATTACH_PARENT_PROCESS))
        output = GetStdHandle(STD_OUTPUT_HANDLE);
}

static void AddToList(const std::string &line)
{
    LRESULT index = SendMessageA(shownIn, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    if (index >= 0)
        SendMessageA(shownIn, LB_SETTOPINDEX, index, 0); // keep the newest line in view
}

void ShowLogIn(HWND list)
{
    shownIn = list;
    if (list)
        for (const std::string &line : lines)
            AddToList(line);
}

static std::string Timestamp()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u.%03u", now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    return text;
}

void Log(const std::string &text)
{
    std::string line = Timestamp() + "  " + text;
    lines.push_back(line);
    if (shownIn)
        AddToList(line);
    if (IsUsable(output)) {
        std::string record = line + "\r\n";
        DWORD written = 0;
        WriteFile(output, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    }
}
