// The clipboard as the user interface sees it: texts in the client's code page,
// with line feeds only. Reads go through one buffer that lives from
// InitSysinc to ExitSysinc, so callers never free what they get.
#pragma once

// Size of the clipboard buffer at start; it grows to fit a longer text.
constexpr int CLIPBOARD_BUFFER_SIZE = 1024;

void InitSysinc();
void ExitSysinc();

// The clipboard's text with every carriage return removed, in the clipboard
// buffer (valid until the next call or ExitSysinc). NULL when the clipboard
// cannot be opened; an empty text when it holds no text.
const char* GetClipboardText();

// Replaces the clipboard's contents with Text. Returns whether it worked.
bool SetClipboardText(const char* Text);

// Whether the clipboard holds text.
bool ClipboardHasText();

// Current capacity of the clipboard buffer in bytes (0 when not initialised).
int GetClipboardBufferSize();
