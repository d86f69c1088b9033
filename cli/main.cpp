#include "cli/CommandLine.h"

#include <iostream>

int main(int argc, char* argv[]) {
    return tesslin::RunCommandLine(argc, argv, std::cin, std::cout, std::cerr);
}
