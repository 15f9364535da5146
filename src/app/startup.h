#pragma once
// Starting and ending the program.
#include <functional>

// Right-to-left layout and the Persian font for the whole application, the database
// problem reporter, then the first window.
void startProgram();
// The only way the program ends: every window is closed, hidden ones included, and the event
// loop is left.
void endProgram();

// Tests replace leaving the event loop with their own action (nullptr restores it).
void setEndProgramAction(std::function<void()> action);
