#include "check.h"
#include <cstdio>
#include <cstring>
#include <vector>

namespace {
struct TestEntry {
    const char *name;
    TestFunction function;
};

std::vector<TestEntry> &Registry()
{
    static std::vector<TestEntry> entries;
    return entries;
}

int failuresInCase = 0;
std::vector<std::string> contexts;
} // namespace

TestRegistrar::TestRegistrar(const char *name, TestFunction function)
{
    Registry().push_back({name, function});
}

FailureContext::FailureContext(const std::string &text)
{
    contexts.push_back(text);
}

FailureContext::~FailureContext()
{
    contexts.pop_back();
}

void ReportFailure(const char *file, int line, const std::string &what)
{
    ++failuresInCase;
    std::printf("  %s:%d: %s", file, line, what.c_str());
    for (const std::string &context : contexts)
        std::printf(" [%s]", context.c_str());
    std::printf("\n");
    std::fflush(stdout);
}

int RunAllTests(int argc, char **argv)
{
    const char *filter = argc > 1 ? argv[1] : nullptr;
    int passed = 0, failed = 0;
    for (const TestEntry &entry : Registry()) {
        if (filter && !std::strstr(entry.name, filter))
            continue;
        std::printf("[ RUN  ] %s\n", entry.name);
        std::fflush(stdout);
        failuresInCase = 0;
        entry.function();
        std::printf("[ %s ] %s\n", failuresInCase ? "FAIL" : " OK ", entry.name);
        std::fflush(stdout);
        (failuresInCase ? failed : passed)++;
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed ? 1 : 0;
}
