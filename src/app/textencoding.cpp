#include "app/textencoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace {

// One conversion through iconv; `fallback` replaces a character the target lacks.
std::string Convert(std::string_view input, const char* to, const char* from, char fallback) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::string(input);
    }
    std::string out(input.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    std::size_t written = 0;
    while (inLeft > 0) {
        char* outPtr = out.data() + written;
        std::size_t outLeft = out.size() - written;
        const std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        written = out.size() - outLeft;
        if (result != static_cast<std::size_t>(-1)) {
            break;
        }
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
        } else {
            // EILSEQ (not representable or not valid input) or EINVAL (cut short): emit the
            // fallback, or the raw byte when the input itself does not decode, and go on.
            if (written == out.size()) {
                out.resize(out.size() * 2);
            }
            out[written++] = fallback != 0 ? fallback : *in;
            // Skip one whole UTF-8 character where the input is UTF-8, else one byte.
            std::size_t skip = 1;
            if (fallback != 0) {
                const auto lead = static_cast<unsigned char>(*in);
                skip = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
                skip = std::min(skip, inLeft);
            }
            in += skip;
            inLeft -= skip;
        }
    }
    iconv_close(cd);
    out.resize(written);
    return out;
}

}  // namespace

std::string Utf8ToCodePage949(std::string_view utf8) { return Convert(utf8, "CP949", "UTF-8", '?'); }

std::string CodePage949ToUtf8(std::string_view cp949) { return Convert(cp949, "UTF-8", "CP949", 0); }
