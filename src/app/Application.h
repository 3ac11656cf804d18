// Start-up and shutdown of the client process: the command line, the module
// initialisation and release orders, the error box and the callbacks through
// which the rest of the program reaches the application.
#pragma once

#include <cstdint>
#include <string>

namespace app {

inline constexpr int COMMANDLINE_BUFFER = 1024;
inline constexpr const char* WINDOW_TITLE = "Vorna   ";
inline constexpr const char* PATCH_PROGRAM = "patch.exe";

// Joins the program's arguments the way the platform hands a command line over.
std::string JoinCommandLine(int argc, char** argv);
// Interprets the command line; returns the gamemaster flag (0 or 1).
uint8_t ParseCommandLine(const char* CommandLine);

// Initialises the modules in their fixed order. A PROGRAM_ERROR thrown by any
// of them releases everything already set up and is thrown on.
void InitModules(uint8_t Gamemaster);
void ExitModules();
bool ModulesInitialized();

// The error box for a PROGRAM_ERROR code.
void ShowErrorBox(int Code);

// Application callbacks.
void ExitProgram();
void ShowProgramError(int Code);
void StartPatcher();
void SetDisplayMode(int Mode);  // 1 windowed, 2 full screen
int GetDisplayMode();
bool OpenDocument(const char* Path);

}  // namespace app

namespace app {
// Start-up: the command line, the platform, the modules, the window with its
// first frame and icon, and one pointer move with the pointer's position.
// False when the program cannot run; everything is then released again.
bool StartApplication(int argc, char** argv);
// Shutdown after the message loop (or instead of it): the window, if it is
// still there, then the modules and the platform.
void EndApplication();
// After a successful start: the message loop until the window is gone, then
// shutdown. Returns the exit status: 0, 1 when an error box ended the
// program, or the replay's own status.
int RunStartedApplication();
}  // namespace app

// The whole life of the process: start-up, the message loop, shutdown.
// Returns the exit status.
int RunApplication(int argc, char** argv);
