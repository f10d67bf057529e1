#include "processes.h"
#include <cstdio>
#include <vector>

std::string PathBesideProgram(const char *fileName)
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string full(path, length);
    return full.substr(0, full.find_last_of("\\/") + 1) + fileName;
}

static Child Start(const std::string &application, const std::string &commandLine, bool pipeOutput)
{
    Child child;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE writeEnd = nullptr;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (pipeOutput && CreatePipe(&child.output, &writeEnd, &inherit, 0)) {
        SetHandleInformation(child.output, HANDLE_FLAG_INHERIT, 0);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = writeEnd;
        startup.hStdError = writeEnd;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    }
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    PROCESS_INFORMATION info = {};
    if (CreateProcessA(application.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                       &info)) {
        CloseHandle(info.hThread);
        child.process = info.hProcess;
    }
    if (writeEnd)
        CloseHandle(writeEnd);
    return child;
}

Child StartHelper(const std::string &arguments, const char *program)
{
    std::string path = PathBesideProgram(program);
    return Start(path, "\"" + path + "\" " + arguments, true);
}

DWORD FinishChild(Child &child, DWORD milliseconds, std::string *output)
{
    std::string text;
    DWORD start = GetTickCount();
    for (;;) {
        DWORD available = 0;
        if (child.output && PeekNamedPipe(child.output, nullptr, 0, nullptr, &available, nullptr) && available) {
            std::vector<char> buffer(available);
            DWORD got = 0;
            if (ReadFile(child.output, buffer.data(), available, &got, nullptr))
                text.append(buffer.data(), got);
            continue;
        }
        if (!child.process || WaitForSingleObject(child.process, 10) == WAIT_OBJECT_0)
            break;
        if (GetTickCount() - start > milliseconds) {
            TerminateProcess(child.process, 999);
            WaitForSingleObject(child.process, 5000);
            break;
        }
    }
    DWORD available = 0;
    while (child.output && PeekNamedPipe(child.output, nullptr, 0, nullptr, &available, nullptr) && available) {
        std::vector<char> buffer(available);
        DWORD got = 0;
        if (!ReadFile(child.output, buffer.data(), available, &got, nullptr))
            break;
        text.append(buffer.data(), got);
    }
    DWORD code = 998;
    if (child.process) {
        GetExitCodeProcess(child.process, &code);
        CloseHandle(child.process);
    }
    if (child.output)
        CloseHandle(child.output);
    child = Child();
    if (output) { // the helper writes text mode: CR LF line ends
        output->clear();
        for (char c : text)
            if (c != '\r')
                output->push_back(c);
    }
    return code;
}

DWORD RunHelper(const std::string &arguments, std::string *output, DWORD milliseconds, const char *program)
{
    Child child = StartHelper(arguments, program);
    return FinishChild(child, milliseconds, output);
}

// Waits a little while answering messages sent to this thread, among them
// the calls of low-level hooks it placed, and leaves posted and input
// messages queued for the test to read.
static void AnswerSentMessages(DWORD milliseconds)
{
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds, QS_SENDMESSAGE);
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

// Wine starts Unix programs from CreateProcess but fills the process record
// with garbage (closing its "handles" could close one of ours), so the shell
// leaves the exit status in a marker file instead.
bool Xdotool(const std::string &arguments)
{
    static int serial = 0;
    char marker[96];
    std::snprintf(marker, sizeof marker, "/tmp/quarvo-xdotool-%lu-%d", GetCurrentProcessId(), ++serial);
    std::string script = "xdotool " + arguments + "; echo $? > " + marker + ".part; mv " + marker + ".part " + marker;
    std::string escaped;
    for (char c : script)
        escaped += c == '"' ? std::string("\\\"") : std::string(1, c);
    std::string commandLine = "sh -c \"" + escaped + "\"";
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION ignored = {};
    CreateProcessA("/bin/sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &ignored);
    std::string windowsMarker = std::string("Z:") + marker;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 15000; AnswerSentMessages(5)) {
        HANDLE file = CreateFileA(windowsMarker.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            continue;
        char status[8] = {};
        DWORD got = 0;
        ReadFile(file, status, sizeof status - 1, &got, nullptr);
        CloseHandle(file);
        DeleteFileA(windowsMarker.c_str());
        return status[0] == '0';
    }
    return false;
}

bool FocusWindow(const char *title)
{
    return Xdotool(std::string("search --sync --name \"^") + title + "$\" windowfocus --sync");
}
