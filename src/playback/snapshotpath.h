#pragma once

#include <string>
#include <string_view>

// The file a channel writes for a capture of a two-channel recording: `tag` ("(Track1)",
// "(Track2)") inserted before the last four characters of the UTF-8 `path` (the extension with
// its dot). A path of four characters or fewer gets the tag in front.
std::string InsertBeforeExtension(std::string_view path, std::string_view tag);
