#include "app/textencoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <memory>

namespace {

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};

// The byte length of the UTF-8 character that starts with `lead` (1 for a stray byte).
std::size_t Utf8Length(unsigned char lead) {
    return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

}  // namespace

std::string Utf8ToCodePage949(std::string_view utf8) {
    iconv_t opened = iconv_open("CP949", "UTF-8");
    if (opened == reinterpret_cast<iconv_t>(-1)) {
        return std::string(utf8);  // no converter: the text goes out unconverted
    }
    const std::unique_ptr<void, IconvCloser> cd(opened);
    std::string out(utf8.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    std::size_t written = 0;
    while (inLeft > 0) {
        char* outPtr = out.data() + written;
        std::size_t outLeft = out.size() - written;
        const std::size_t result =
            iconv(static_cast<iconv_t>(cd.get()), &in, &inLeft, &outPtr, &outLeft);
        written = out.size() - outLeft;
        if (result != static_cast<std::size_t>(-1)) {
            break;
        }
        if (errno == E2BIG || written == out.size()) {
            out.resize(out.size() * 2);
            continue;
        }
        // Not representable, not UTF-8, or cut short: one '?' for the character, and go on.
        out[written++] = '?';
        const std::size_t skip = std::min(Utf8Length(static_cast<unsigned char>(*in)), inLeft);
        in += skip;
        inLeft -= skip;
    }
    out.resize(written);
    return out;
}
