// Entry point of quillmere. The start-up sequence lives in Module1 (app/module1.h).
#include "app/program.h"

#include <iostream>

int main(int argc, char** argv)
{
    return qm::RunQuillmere(argc, argv, std::cout, std::cerr);
}
