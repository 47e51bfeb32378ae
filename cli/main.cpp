// adres: the address book's command-line companion.
#include "command_line.h"

#include <iostream>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    return RunAdres(argc, argv, std::cin, std::cout, std::cerr);
}
