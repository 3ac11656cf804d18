#include "core/DataFolders.h"

#include <filesystem>

namespace {
std::vector<std::string> Folders;
}

void SetDataFolders(std::vector<std::string> NewFolders) { Folders = std::move(NewFolders); }

const std::vector<std::string>& GetDataFolders() { return Folders; }

std::string DataFilePath(const std::string& Name) {
    for (const std::string& Folder : Folders) {
        std::error_code Error;
        const std::filesystem::path Path = std::filesystem::path(Folder) / Name;
        if (std::filesystem::is_regular_file(Path, Error)) return Path.string();
    }
    return Name;
}
