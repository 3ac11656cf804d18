// Stands in for fsync while a save runs and notes each call: whether a
// directory or a file was synced, the file's size, and what the save's target
// held at that moment (so a test sees whether the rename came before or after).
#pragma once

#include "config/Script.h"
#include "support/TestSupport.h"

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

struct SyncCall {
    bool Directory = false;
    long long Size = 0;
    std::string Target;  // the target's contents then, "<none>" when missing
};

class SyncRecorder {
  public:
    using Installer = void (*)(int (*Function)(int Handle));
    // Result is what every sync call returns (-1: the disk refuses). Install
    // puts the recorder in place of fsync: the client's by default, or the
    // server's.
    explicit SyncRecorder(std::string TargetPath, int Result = 0, Installer Install = SetFileSyncFunction)
        : Target(std::move(TargetPath)), Answer(Result), Uninstall(Install) {
        Current = this;
        Install(Record);
    }
    ~SyncRecorder() {
        Uninstall(nullptr);
        Current = nullptr;
    }
    SyncRecorder(const SyncRecorder&) = delete;
    SyncRecorder& operator=(const SyncRecorder&) = delete;

    std::vector<SyncCall> Calls;

  private:
    static int Record(int Handle) {
        struct stat Status {};
        fstat(Handle, &Status);
        SyncCall Call;
        Call.Directory = S_ISDIR(Status.st_mode);
        Call.Size = static_cast<long long>(Status.st_size);
        Call.Target = std::filesystem::exists(Current->Target) ? testing_support::ReadFile(Current->Target) : "<none>";
        Current->Calls.push_back(Call);
        return Current->Answer;
    }

    static inline SyncRecorder* Current = nullptr;
    std::string Target;
    int Answer;
    Installer Uninstall;
};
