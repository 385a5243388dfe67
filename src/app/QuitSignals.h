#pragma once
// Ends the program in order when the desktop or a terminal asks it to (SIGTERM, SIGINT,
// SIGHUP): the message loop ends and the normal shut-down saves the workspace in use.

// Installs the handlers; call once after the application object exists.
void InstallQuitOnSignals();
