// The suite's stand-in program; see StandIn.h.

#include "suite/StandIn.h"

#include <cstdlib>
#include <iostream>
#include <system_error>

int main(int argc, char** argv)
{
    suite::Invocation call;
    call.program = argc > 0 && argv[0] != nullptr ? argv[0] : "";
    for (int i = 1; i < argc; ++i)
        call.args.emplace_back(argv[i]);
    std::error_code error;
    call.workingDir = std::filesystem::current_path(error);
    if (error)
        call.workingDir = ".";
    if (const char* wrapper = std::getenv(suite::WrapperVariable))
        call.wrapper = wrapper;
    call.xdgStateHome = std::getenv("XDG_STATE_HOME");
    call.home = std::getenv("HOME");
    call.now = std::time(nullptr);
    return suite::runStandIn(call, std::cout, std::cerr);
}
