#pragma once

#include <string>
#include <string_view>

// Converts UTF-8 text to code page 949 (the Korean Windows code page the log is written in).
// Characters the code page lacks, and bytes that are not UTF-8, become '?'.
std::string Utf8ToCodePage949(std::string_view utf8);
