// A recording comes from a player's bug report and may be anything: reading
// it must end in records (all of them, or those before the damage) with an
// error that says where it stopped, never in a crash. What was read must be
// consistent: every record's data lies inside the data read, times and call
// numbers come from the file, and the events decode or are refused.
#include "FuzzSupport.h"

#include "platform/Recording.h"

#include <cstdint>
#include <cstdlib>

using namespace platform::recording;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz_support::Start();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const Recording R = ReadRecording(Data, Size);
    if (!R.HeaderRead && R.Error.empty()) std::abort();           // a refusal always says why
    if (!R.Error.empty() && R.ErrorPosition > Size) std::abort();  // and where, inside the file
    uint64_t Call = 0;
    for (const Record& Rec : R.Records) {
        if (uint64_t(Rec.Offset) + Rec.Length > R.Data.size()) std::abort();
        if (Rec.Call < Call) std::abort();  // call numbers only grow
        Call = Rec.Call;
        if (Rec.RecordKind == Kind::Event) {
            platform::Event E;
            DecodeEvent(R.DataOf(Rec), Rec.Length, E);
        }
    }
    return 0;
}
