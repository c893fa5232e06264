#pragma once

#include <string>
#include <string_view>

// Converts UTF-8 text to code page 949 (the Korean Windows code page the log is written in).
// Characters the code page lacks become '?'; invalid UTF-8 bytes are copied as they are.
std::string Utf8ToCodePage949(std::string_view utf8);
// The reverse, for readers of the log; bytes that do not decode are copied as they are.
std::string CodePage949ToUtf8(std::string_view cp949);
