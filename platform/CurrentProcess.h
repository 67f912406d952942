// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace zantrove {

// The id the system gives the running process.
int CurrentProcessId();

// The full path of the running executable; empty when the system does not tell.
std::string ExecutablePath();

// Whether standard output or standard error is a terminal (and not a pipe or a file).
bool StandardOutputIsTerminal();
bool StandardErrorIsTerminal();

// Whether the process runs with the administrator's rights.
bool RunsAsAdministrator();

} // namespace zantrove
