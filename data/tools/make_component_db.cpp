// Build step: turns the component CSV into the SQLite database the program reads.
// Usage: make_component_db <components.csv> <components.db>

#include "data/component_table_builder.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_component_db <components.csv> <components.db>\n";
        return 2;
    }
    try {
        const int rows = quorvane::BuildComponentDatabase(argv[1], argv[2]);
        std::cout << "components database " << argv[2] << ": " << rows << " rows\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "make_component_db: " << e.what() << '\n';
        return 1;
    }
}
