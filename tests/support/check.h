// A small test harness: TEST registers a case, CHECK* record failures without
// stopping the case, and RunAllTests prints "N passed, N failed".
#pragma once
#include <sstream>
#include <string>

typedef void (*TestFunction)();

struct TestRegistrar {
    TestRegistrar(const char *name, TestFunction function);
};

// Runs every registered case (or those whose name contains argv[1]).
int RunAllTests(int argc, char **argv);

void ReportFailure(const char *file, int line, const std::string &what);

#define TEST(name)                                            \
    static void name();                                       \
    static TestRegistrar name##_registrar(#name, name);       \
    static void name()

#define CHECK(condition)                                                 \
    do {                                                                 \
        if (!(condition))                                                \
            ReportFailure(__FILE__, __LINE__, "CHECK(" #condition ")");  \
    } while (0)

#define CHECK_EQ(expected, actual)                                                         \
    do {                                                                                   \
        auto check_expected_ = (expected);                                                 \
        auto check_actual_ = (actual);                                                     \
        if (!(check_expected_ == check_actual_)) {                                         \
            std::ostringstream check_text_;                                                \
            check_text_ << #actual << " is " << check_actual_ << ", expected " << #expected \
                        << " = " << check_expected_;                                       \
            ReportFailure(__FILE__, __LINE__, check_text_.str());                         \
        }                                                                                  \
    } while (0)

// Adds context (a table row, say) to the failures reported inside its scope.
struct FailureContext {
    explicit FailureContext(const std::string &text);
    ~FailureContext();
};
