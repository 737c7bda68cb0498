// zoetropica: plays the Zoetropica visual plug-in (see --help).
#include <iostream>
#include <string>
#include <vector>

#include "Program.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return zt::host::RunProgram(args, std::cout, std::cerr);
}
