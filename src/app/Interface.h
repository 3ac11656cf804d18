// Joins the user interface to the control hub: creates the main game window
// (the root of the component tree) and installs the hooks through which
// Control hands it input, events and the timer.
#pragma once

#include "app/FrameInput.h"

class MainWindow;

// Creates the main game window at the given client size and installs the
// hooks. Needs the GUI module and Control to be up.
void InstallInterfaceHooks(int Width, int Height);
// Destroys the modal window and the main game window and removes the hooks.
void RemoveInterface();
MainWindow* GetMainWindow();

// Hands one input record to a component, in its own coordinates (exposed for
// the tests).
class Component;
void DeliverToComponent(Component* Receiver, const frame::Input& Input);
