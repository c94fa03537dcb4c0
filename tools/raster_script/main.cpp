// raster-script: runs a drawing script from a file or standard input ("-").
#include "tools/raster_script/script.h"

#include <fstream>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: raster-script FILE|-\n";
        return 2;
    }
    const std::string name = argv[1];
    if (name == "-")
        return qm::tools::runScript(std::cin, std::cout, std::cerr);
    std::ifstream in(name);
    if (!in) {
        std::cerr << "raster-script: cannot read " << name << '\n';
        return 2;
    }
    const int rc = qm::tools::runScript(in, std::cout, std::cerr);
    std::cout.flush();
    return rc;
}
