// Start-up and shutdown of the client process.
#pragma once

int RunApplication(int argc, char** argv);
