// The script tokenizer over arbitrary bytes: every input ends in tokens up to
// the end of the file or in a ScriptError, with the file closed either way.
#include "FuzzSupport.h"

#include "config/Script.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace {
std::string Path;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz_support::Start();
    Path = fuzz_support::TemporaryFile("script.txt");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    if (std::FILE* File = std::fopen(Path.c_str(), "wb")) {
        std::fwrite(Data, 1, Size, File);
        std::fclose(File);
    }
    ReadScriptFile Script;
    try {
        Script.open(Path.c_str());
        int Tokens = 0;
        for (;;) {
            Script.nextToken();
            if (Script.getToken() == ENDOFFILE) break;
            // Ask for the kind the first byte of the input picks, so the typed
            // reads and their errors are exercised as well.
            switch ((Size > 0 ? Data[0] : 0) % 4) {
                case 1:
                    if (Script.getToken() == SPECIAL && Script.getSpecial() == '=') Script.readNumber();
                    break;
                case 2:
                    if (Script.getToken() == IDENTIFIER) Script.readSymbol('=');
                    break;
                default:
                    break;
            }
            if (++Tokens > 100000) std::abort();  // every token consumes input
        }
        Script.close();
    } catch (const ScriptError&) {
        if (Script.isOpen()) std::abort();  // errors must leave the file closed
    }
    std::remove(Path.c_str());
    return 0;
}
