#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// Starts a program (searched on PATH unless the first word is a path) with
// its standard output and error appended to `outputPath`; the child's pid,
// or -1 when it could not start.
pid_t spawnLogged(std::vector<std::string> words, const std::string& outputPath);
