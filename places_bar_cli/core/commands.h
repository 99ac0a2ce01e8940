#pragma once
// The commands of lumbrake-cli, over whatever Host they are given.
#include "host.h"

#include <string>
#include <vector>

namespace lumbrake::cli {

inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;  // something was refused or failed
inline constexpr int kExitUsage = 2;   // a usage error or an unreadable input

// Runs the command that the arguments (those after the program's name)
// ask for, and returns the exit code.
int Run(const std::vector<std::wstring>& arguments, const Host& host);

}  // namespace lumbrake::cli
