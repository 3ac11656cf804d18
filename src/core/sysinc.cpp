#include "core/sysinc.h"

#include "core/Assert.h"
#include "platform/Platform.h"

#include <cstring>
#include <memory>
#include <string>

namespace {
// Lives from InitSysinc to ExitSysinc.
std::unique_ptr<char[]> ClipboardBuffer;
size_t ClipboardBufferSize = 0;
}  // namespace

void InitSysinc() {
    ASSERT(ClipboardBuffer==NULL);
    ClipboardBuffer = std::make_unique<char[]>(CLIPBOARD_BUFFER_SIZE);
    ClipboardBufferSize = CLIPBOARD_BUFFER_SIZE;
    ClipboardBuffer[0] = 0;
}

void ExitSysinc() {
    ClipboardBuffer.reset();
    ClipboardBufferSize = 0;
}

const char* GetClipboardText() {
    std::string text;
    if (!platform::GetClipboardText(text)) return NULL;

    // The text ends at its first terminator, like any C text taken from the clipboard.
    size_t length = std::strlen(text.c_str());
    if (!ClipboardBuffer || ClipboardBufferSize < length + 1) {
        // Grown to the clipboard text's size; never shrunk before ExitSysinc.
        size_t size = length + 1 > size_t(CLIPBOARD_BUFFER_SIZE) ? length + 1 : size_t(CLIPBOARD_BUFFER_SIZE);
        ClipboardBuffer = std::make_unique<char[]>(size);
        ClipboardBufferSize = size;
    }
    size_t n = 0;
    for (size_t i = 0; i < length; ++i)
        if (text[i] != '\r') ClipboardBuffer[n++] = text[i];
    ClipboardBuffer[n] = 0;
    return ClipboardBuffer.get();
}

bool SetClipboardText(const char* Text) {
    ASSERT(Text!=NULL);
    if (Text == NULL) return false;
    return platform::SetClipboardText(Text);
}

bool ClipboardHasText() { return platform::ClipboardHasText(); }

int GetClipboardBufferSize() { return int(ClipboardBufferSize); }
