#pragma once
class wxFrame;

// When TENVORIK_SMOKE names a file, the program writes what a user would see (window
// title, status-bar texts) to it once the main window is up and idle, saves a picture of the
// window to TENVORIK_SMOKE_SHOT when that is set, and closes the main window. The smoke
// tests drive the real program through it.
void ArmSmokeHook(wxFrame* frame);
// Called first thing at start-up: in a smoke run a failed toolkit assertion ends the program
// with a message instead of opening a dialog that nobody closes.
void PrepareSmokeRun();
