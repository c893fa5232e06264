#include "settings/timezonetable.h"

#include <gtest/gtest.h>

namespace {

TEST(TimeZoneTable, HasTheRowsInOrder) {
    const auto& names = TimeZoneTable::Names();
    EXPECT_EQ(names.front(), "(GMT-12:00) International Date Line West");
    EXPECT_EQ(names[60], "(GMT+09:00) Seoul");
    EXPECT_EQ(names[73], "(GMT+13:00) Nuku'alofa");
    EXPECT_EQ(names[74], names[85]);  // Buenos Aires twice
    EXPECT_EQ(names[90], "(GMT-04:00) Asuncion ");
    EXPECT_EQ(names.back(), "(GMT+12:00) Petropavlovsk-Kamchatsky");
}

TEST(TimeZoneTable, NameToOffset) {
    EXPECT_EQ(TimeZoneTable::OffsetOfName("(GMT+05:45) Kathmandu"), "+,05,45");
    EXPECT_EQ(TimeZoneTable::OffsetOfName("(GMT-03:30) Newfoundland"), "-,03,30");
    EXPECT_EQ(TimeZoneTable::OffsetOfName("(GMT) Monrovia, Reykjavik"), std::nullopt);
    EXPECT_EQ(TimeZoneTable::OffsetOfName("(GMT+05:45"), std::nullopt);
}

TEST(TimeZoneTable, OffsetToFirstRowOfThatOffset) {
    EXPECT_EQ(TimeZoneTable::RowOfOffset("+,09,00"), 60u);
    EXPECT_EQ(TimeZoneTable::RowOfOffset("+,05,45"), 48u);
    EXPECT_EQ(TimeZoneTable::RowOfOffset("-,03,00"), 19u);
    EXPECT_EQ(TimeZoneTable::RowOfOffset("+,00,00"), 25u);
    EXPECT_EQ(TimeZoneTable::RowOfOffset("+,12,45"), std::nullopt);
    EXPECT_EQ(TimeZoneTable::RowOfOffset("+,9,00"), std::nullopt);
}

TEST(TimeZoneTable, EveryZoneWithDigitsMapsBackToARowOfTheSameOffset) {
    const auto& names = TimeZoneTable::Names();
    for (std::size_t row = 0; row < names.size(); ++row) {
        const auto offset = TimeZoneTable::OffsetOfName(names[row]);
        if (!offset) {
            EXPECT_EQ(names[row].substr(0, 5), "(GMT)") << row;
            continue;
        }
        const auto back = TimeZoneTable::RowOfOffset(*offset);
        ASSERT_TRUE(back.has_value()) << names[row];
        EXPECT_LE(*back, row);
        EXPECT_EQ(names[*back].substr(0, 11), names[row].substr(0, 11));
    }
}

}  // namespace
