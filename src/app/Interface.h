// Joins the user interface to the control hub: creates the main game window
// (the root of the component tree) and gives Control the hooks through which
// it hands the windows input, events and the timer.
#pragma once

#include "app/FrameInput.h"

class Component;
class MainWindow;
struct ControlHooks;

// Creates the main game window at the given client size, makes it the root of
// the component tree and the dialogs' main window. Needs the GUI module up.
void InstallInterfaceHooks(int Width, int Height);
// Destroys the modal window and the main game window.
void RemoveInterface();
MainWindow* GetMainWindow();

// The windows' entries of Control's hooks (InitControl gathers them). They
// act on whatever windows exist when they are called, so they may be given
// before the main game window is made.
void AddInterfaceHooks(ControlHooks& Hooks);

// Hands one input record to a component, in its own coordinates (exposed for
// the tests).
void DeliverToComponent(Component* Receiver, const frame::Input& Input);
