#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/UserFolder.h"

#include <cstdio>

int main(int argc, char** argv) {
    // Where the program works is settled first: --version names the data
    // files it would read, and nothing may be written before the move.
    const app::WorkFolder Folder = app::ChooseWorkFolder();
    int Status = 0;
    if (app::AnswerCommandLine(argc, argv, Folder.DataFolders, Status)) return Status;
    std::string Problem;
    if (!app::EnterWorkFolder(Folder, argc, argv, Problem)) {
        std::fprintf(stderr, "vorna: %s\n", Problem.c_str());
        return 1;
    }
    return RunApplication(argc, argv);
}
