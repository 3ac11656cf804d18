// Where the program reads its data files (Vorna.dat, Vorna.spr, Vorna.pic).
// Started beside them, it reads them from the working directory, as it always
// did; an installed program reads them from the player's own folder when an
// update put a newer one there, else from the installation's shared folder.
// Start-up sets the folders once; every reader and the update writer ask here.
#pragma once

#include <string>
#include <vector>

// The folders searched, in order. Empty (the default): the working directory.
void SetDataFolders(std::vector<std::string> Folders);
const std::vector<std::string>& GetDataFolders();

// The path of the data file Name in the first folder that holds it; Name as it
// is (the working directory) when none does, so that the error names the file.
std::string DataFilePath(const std::string& Name);
