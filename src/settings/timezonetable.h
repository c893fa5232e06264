#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The time zones the recorder knows, in the order the settings dialog lists them, and the two
// mappings between a zone's display name and the settings file's offset text "S,HH,MM".
class TimeZoneTable {
public:
    static constexpr std::size_t kRowCount = 92;

    static const std::array<std::string_view, kRowCount>& Names();

    // The offset a row name stands for: "(GMT+05:45) Kathmandu" gives "+,05,45". Rows that
    // begin "(GMT)" carry no digits and give no offset, nor does any other text whose ")" is
    // not the eleventh character.
    static std::optional<std::string> OffsetOfName(std::string_view name);

    // The first row whose name contains "(GMT" S HH ":" MM ")" of `offset` (with "(GMT+00:00)"
    // read as "(GMT)"); several zones share an offset, so the first of them stands for all.
    // Returns no row for a text that is not seven characters long or has no matching zone.
    static std::optional<std::size_t> RowOfOffset(std::string_view offset);
};
