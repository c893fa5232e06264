#include "settings/timezonetable.h"

namespace {

constexpr std::array<std::string_view, TimeZoneTable::kRowCount> kNames = {
    "(GMT-12:00) International Date Line West",
    "(GMT-11:00) Midway Island, Samoa",
    "(GMT-10:00) Hawaii",
    "(GMT-09:00) Alaska",
    "(GMT-08:00) Pacific Time (US and Canada); Tijuana",
    "(GMT-07:00) Mountain Time (US and Canada)",
    "(GMT-07:00) Chihuahua, La Paz, Mazatlan",
    "(GMT-07:00) Arizona",
    "(GMT-06:00) Central Time (US and Canada)",
    "(GMT-06:00) Saskatchewan",
    "(GMT-06:00) Guadalajara, Mexico City, Monterrey",
    "(GMT-06:00) Central America",
    "(GMT-05:00) Eastern Time (US and Canada)",
    "(GMT-05:00) Indiana(East)",
    "(GMT-05:00) Bogota, Lima, Quito",
    "(GMT-04:00) Atlantic Time (Canada)",
    "(GMT-04:00) Georgetown, La Paz, San Juan",
    "(GMT-04:00) Santiago",
    "(GMT-03:30) Newfoundland",
    "(GMT-03:00) Brasilia",
    "(GMT-03:00) Georgetown",
    "(GMT-03:00) Greenland",
    "(GMT-02:00) Mid-Atlantic",
    "(GMT-01:00) Azores",
    "(GMT-01:00) Cape Verde Islands",
    "(GMT) Greenwich Mean Time: Dublin, Edinburgh, Lisbon, London",
    "(GMT) Monrovia, Reykjavik",
    "(GMT+01:00) Belgrade, Bratislava, Budapest, Ljubljana, Prague",
    "(GMT+01:00) Sarajevo, Skopje, Warsaw, Zagreb",
    "(GMT+01:00) Amsterdam, Berlin, Bern, Rome, Stockholm, Vienna",
    "(GMT+01:00) West Central Africa",
    "(GMT+02:00) Minsk",
    "(GMT+02:00) Cairo",
    "(GMT+02:00) Helsinki, Kiev, Riga, Sofia, Tallinn, Vilnius",
    "(GMT+02:00) Athens, Bucharest, Istanbul",
    "(GMT+02:00) Jerusalem",
    "(GMT+02:00) Harare, Pretoria",
    "(GMT+03:00) Moscow, St.Petersburg, Volgograd",
    "(GMT+03:00) Kuwait, Riyadh",
    "(GMT+03:00) Nairobi",
    "(GMT+03:00) Baghdad",
    "(GMT+03:30) Tehran",
    "(GMT+04:00) Abu Dhabi, Muscat",
    "(GMT+04:00) Baku, Tbilisi, Yerevan",
    "(GMT+04:30) Kabul",
    "(GMT+05:00) Ekaterinburg",
    "(GMT+05:00) Tashkent",
    "(GMT+05:30) Chennai, Kolkata, Mumbai, New Delhi",
    "(GMT+05:45) Kathmandu",
    "(GMT+06:00) Astana, Dhaka",
    "(GMT+06:00) Sri Jayawardenepura",
    "(GMT+06:00) Almaty, Novosibirsk",
    "(GMT+06:30) Yangon (Rangoon)",
    "(GMT+07:00) Bangkok, Hanoi, Jakarta",
    "(GMT+07:00) Krasnoyarsk",
    "(GMT+08:00) Beijing, Chongqing, Hong Kong, Urumqi",
    "(GMT+08:00) Kuala Lumpur, Singapore",
    "(GMT+08:00) Taipei",
    "(GMT+08:00) Perth",
    "(GMT+08:00) Irkutsk, Ulaanbaatar",
    "(GMT+09:00) Seoul",
    "(GMT+09:00) Osaka, Sapporo, Tokyo",
    "(GMT+09:00) Yakutsk",
    "(GMT+09:30) Darwin",
    "(GMT+09:30) Adelaide",
    "(GMT+10:00) Canberra, Melbourne, Sydney",
    "(GMT+10:00) Brisbane",
    "(GMT+10:00) Hobart",
    "(GMT+10:00) Vladivostok",
    "(GMT+10:00) Guam, Port Moresby",
    "(GMT+11:00) Magadan, Solomon Island, New Caledonia",
    "(GMT+12:00) Fiji, Kamchatka, Marshall Is",
    "(GMT+12:00) Auckland, Wellington",
    "(GMT+13:00) Nuku'alofa",
    "(GMT-03:00) Buenos Aires",
    "(GMT+02:00) Beirut",
    "(GMT+02:00) Amman",
    "(GMT-06:00) Guadalajara, Mexico City, Monterrey-New",
    "(GMT-07:00) Chihuahua, La Paz, Mazatlan-New",
    "(GMT-08:00) Tijuana, Baja California",
    "(GMT+02:00) Windhoek",
    "(GMT+03:00) Tbilisi",
    "(GMT-04:00) Manaus",
    "(GMT+04:00) Yerevan",
    "(GMT-04:30) Caracas",
    "(GMT-03:00) Buenos Aires",
    "(GMT) Casablanca",
    "(GMT+05:00) Islamabad, Karachi",
    "(GMT+04:00) Port Louis",
    "(GMT) Coordinated Universal Time",
    "(GMT-04:00) Asuncion ",
    "(GMT+12:00) Petropavlovsk-Kamchatsky",
};

}  // namespace

const std::array<std::string_view, TimeZoneTable::kRowCount>& TimeZoneTable::Names() {
    return kNames;
}

std::optional<std::string> TimeZoneTable::OffsetOfName(std::string_view name) {
    // "(GMT+05:45) ...": sign at index 4, hours at 5-6, minutes at 8-9, ")" at 10.
    if (name.size() < 11 || name[10] != ')') {
        return std::nullopt;
    }
    std::string offset;
    offset += name[4];
    offset += ',';
    offset += name.substr(5, 2);
    offset += ',';
    offset += name.substr(8, 2);
    return offset;
}

std::optional<std::size_t> TimeZoneTable::RowOfOffset(std::string_view offset) {
    if (offset.size() != 7) {
        return std::nullopt;
    }
    std::string key = "(GMT";
    key += offset[0];
    key += offset.substr(2, 2);
    key += ':';
    key += offset.substr(5, 2);
    key += ')';
    if (key == "(GMT+00:00)") {
        key = "(GMT)";
    }
    for (std::size_t row = 0; row < kNames.size(); ++row) {
        if (kNames[row].find(key) != std::string_view::npos) {
            return row;
        }
    }
    return std::nullopt;
}
