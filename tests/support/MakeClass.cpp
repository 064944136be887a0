// Makes a class through the core for the report's picture: drilbank_make_class FOLDER
// [STUDENTS [DUE-DATE]] writes the students' folders under FOLDER/class and the class list to
// FOLDER/class-list.csv. DUE-DATE is MM-DD-YYYY (04-20-2003 unless given), due at 23:59.
#include "support/ClassMaker.h"

#include <cstdlib>
#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: drilbank_make_class FOLDER [STUDENTS [MM-DD-YYYY]]\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const std::size_t students = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 60;
    const std::string due = argc > 3 ? argv[3] : "04-20-2003";
    const drilbank::testing::MadeClass made =
        drilbank::testing::makeClass(folder / "class", students, due);
    std::ofstream(folder / "class-list.csv", std::ios::binary) << made.classList;
    std::cout << made.listed.size() << " students listed, " << made.withoutFiles.size()
              << " without files\n";
    return 0;
}
