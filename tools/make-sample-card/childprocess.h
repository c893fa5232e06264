#pragma once

#include <string>
#include <vector>

// Runs a program found on PATH with the given arguments (argv[0] included) and waits for it.
// Its standard input is empty; its output goes where ours goes. False, with `error` set, when it
// cannot be started or does not exit with status 0.
bool RunChildProcess(const std::vector<std::string>& argv, std::string& error);
