#include "check.h"

int main(int argc, char **argv)
{
    return RunAllTests(argc, argv);
}
