// Help mode: the player points at any part of the screen and a popup
// explains it, until a button release or a key ends the mode.
#pragma once

class HelpPopup;

// Driven by the event dispatcher: entering the mode (event 41), every
// pointer move, and its end.
void ResetHelpPointer();
void HelpPointerMove(int x, int y);
void CloseHelpPointer();
// The popup shown now, NULL when none.
HelpPopup* GetHelpPopup();
