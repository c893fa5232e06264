#include "playback/snapshotpath.h"

std::string InsertBeforeExtension(std::string_view path, std::string_view tag) {
    // Walk back four characters, skipping UTF-8 continuation bytes.
    std::size_t at = path.size();
    for (int characters = 0; characters < 4 && at > 0; ++characters) {
        do {
            --at;
        } while (at > 0 && (static_cast<unsigned char>(path[at]) & 0xC0) == 0x80);
    }
    std::string result(path.substr(0, at));
    result.append(tag).append(path.substr(at));
    return result;
}
