#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The viewer's user texts: the string table by number, in English and Korean.
namespace usertexts {

enum class Language { English, Korean };

// The language of the user texts. Defaults to LanguageFromEnvironment().
Language CurrentLanguage();
void SetLanguage(Language language);

// KORVANE_LANG ("ko" or "en") when set, else the system locale (LC_ALL, LC_MESSAGES, LANG):
// Korean for a locale starting with "ko", English otherwise.
Language LanguageFromEnvironment();

// The text of `id` in the current language (UTF-8). A number without an English entry falls
// back to its Korean text; an unknown number yields an empty string.
std::string Text(std::int32_t id);
std::string Text(std::int32_t id, Language language);

// A fixed pair of texts that is not in the string table (dialog control texts).
inline std::string Pick(std::string_view english, std::string_view korean) {
    return std::string(CurrentLanguage() == Language::Korean ? korean : english);
}

}  // namespace usertexts
