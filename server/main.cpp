// vorna-server: the reference login and game server. With no arguments it
// listens on loopback, takes Vorna.dat and the demo world from beside its
// executable (else from the installation's share/vorna) and keeps its state
// in ./vorna-server-data.
#include "server/Config.h"
#include "server/Server.h"

#include <cstdio>

int main(int argc, char** argv) {
    server::Config Settings;
    std::string Problem;
    bool ShowHelp = false;
    if (!server::ParseCommandLine(argc, argv, Settings, Problem, ShowHelp)) {
        std::fprintf(stderr, "vorna-server: %s\n%s", Problem.c_str(), server::CommandLineHelp());
        return 2;
    }
    if (ShowHelp) {
        std::fputs(server::CommandLineHelp(), stdout);
        return 0;
    }
    return server::Run(Settings);
}
