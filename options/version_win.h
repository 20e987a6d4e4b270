#pragma once
// The program's version as its own version resource gives it: "major.minor".
#include <string>

// Empty when the running program carries no version resource (the test programs).
std::wstring ProgramVersion();
