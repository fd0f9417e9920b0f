// Whole files as bytes, for comparing what arrived with what was sent.
#pragma once

#include <string>

// The bytes of the file at `path`; empty if it cannot be read.
std::string ReadAll(const std::string& path);
