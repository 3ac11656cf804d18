// State shared by the control hub, the protocol handlers and the user
// interface. This part holds the start-up options and the copy command with
// its link check.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Installed by the control hub: asks the player whether a text that holds a
// web or IP address should really go to the clipboard. Its "yes" ends in
// CopyPending.
using LinkWarningHandler = void (*)();

// Starts the module: the gamemaster flag (0 or 1) from the command line and
// the link-warning handler; prepares the link pattern.
void InitStatus(uint8_t Gamemaster, LinkWarningHandler linkwarningeventhandler);
// Frees the pending copy and forgets everything InitStatus was given.
void ExitStatus();

uint8_t GetGamemasterFlag();

// The copy command of the user interface. Keeps Text (its first Length
// characters; a negative Length takes all of it) as the pending copy. If the
// text holds a link, the link-warning handler is asked; otherwise the pending
// copy goes to the clipboard at once.
void CopyChecked(const char* Text, int Length);
// Places the pending copy on the clipboard. Returns whether it worked; false
// also when nothing is pending.
bool CopyPending();
// The text kept by the last CopyChecked ("" when none).
const std::string& GetPendingCopy();

// The matcher walks a candidate recursively, one level per character, so a
// long run of letters would exhaust the stack. Long texts are therefore
// searched in pieces of LINK_SEARCH_WINDOW characters that overlap by
// LINK_SEARCH_OVERLAP: every link shorter than the overlap (a host name label
// has at most 63 characters) lies wholly in one piece, separators included.
constexpr size_t LINK_SEARCH_WINDOW = 512;
constexpr size_t LINK_SEARCH_OVERLAP = 128;

// Whether a text holds a host name with a known top-level domain or a dotted
// IPv4 address. Letter case does not matter.
bool ContainsLink(const char* Text);
