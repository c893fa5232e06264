#include "mp4/metadatadecoder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(MetadataDecoder, TaggedCoordinates) {
    struct Case {
        std::int32_t value;
        double degrees;
    } cases[] = {
        {375123456, 37 + 51 / 60.0 + 23.4 / 3600},    // "37.512346": the 7th digit is rounded away
        {1271234567, 127 + 12 / 60.0 + 34.5 / 3600},  // "127.123457"
        {375999999, 38.0},                            // rounds up to "37.600000": 60 minutes
        {0, 0.0},
        {-375123456, -(37 + 51 / 60.0 + 23.4 / 3600)},  // mirrors the positive value
        {INT32_MIN, -(214 + 74 / 60.0 + 83.6 / 3600)},  // "214.748365"
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(metadata::DecodeCoordinate(c.value), c.degrees, 1e-9) << c.value;
    }
}

TEST(MetadataDecoder, TaggedAccelerations) {
    struct Case {
        std::uint8_t sign;
        std::uint8_t value;
        double g;
    } cases[] = {
        {0x00, 0x40, 0.5}, {0xFF, 0xC0, -0.5}, {0xFF, 0x40, -0.5}, {0x00, 0xC0, 0.5},
        {0x00, 0x80, 1.0}, {0x12, 0x80, -1.0},  // any other sign byte leaves the value alone
        {0x00, 0x00, 0.0}, {0xFF, 0x00, 0.0},
    };
    for (const Case& c : cases) {
        const double g = metadata::DecodeAcceleration(c.sign, c.value);
        EXPECT_EQ(g, c.g) << int(c.sign) << " " << int(c.value);
        EXPECT_FALSE(std::signbit(g) && g == 0.0) << "no negative zero";
    }
}

TEST(MetadataDecoder, GpsRecords) {
    struct Case {
        const char* record;
        bool decoded;
        double latitude, longitude, speedKmh;
    } cases[] = {
        {"G$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A", true, 48.1173,
         11.0 + 31.0 / 60, 22.4 * 1.852},
        // An empty time moves every later field up by one: the hemisphere letters become the
        // position and the course the speed.
        {"G$GPRMC,,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A", true, 0, 0,
         84.4 * 1.852},
        {"G$GPRMC,123519,V,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A", true, 48.1173,
         11.0 + 31.0 / 60, 22.4 * 1.852},  // a void fix is used like a valid one
        {"G$GPRMC,1,A,3730.5,N,12700.25,E,10*", true, 37.5083333333, 127.0041666667, 18.52},
        {"G$GPRMC,1,A,3730.5,N,12700.25,E*,10,20", false},         // fields after '*' do not count
        {"G$GPRMC,123519,V,,,,,,,230394,,,N*53", false},           // a no-fix sentence: 4 fields
        {"G$GPRMC,123519,A,4807.038,N,01131.000,E,022.4", false},  // no '*'
        {"G$GPGGA,123519,A,4807.038,N,01131.000,E,022.4,084.4*6A", false},
        {"G$gprmc,123519,A,4807.038,N,01131.000,E,022.4,084.4*6A", false},
        {"G$GPRM", false},
        {"G$GPRMC,1,A,4,N,5,E,x*", true, 4, 5,
         0},  // short and non-numeric fields give what they hold
    };
    for (const Case& c : cases) {
        const std::optional<GpsSample> sample = metadata::DecodeGpsRecord(c.record);
        ASSERT_EQ(sample.has_value(), c.decoded) << c.record;
        if (sample) {
            EXPECT_NEAR(sample->latitude, c.latitude, 1e-9) << c.record;
            EXPECT_NEAR(sample->longitude, c.longitude, 1e-9) << c.record;
            EXPECT_NEAR(sample->speedKmh, c.speedKmh, 1e-9) << c.record;
        }
    }
}

TEST(MetadataDecoder, LeadingNumbers) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"12.5abc", 12.5}, {"abc", 0}, {"", 0},     {" -3.25", -3.25}, {"+4", 4},
        {"1e2", 100},      {"1e", 1},  {".5", 0.5}, {"5.", 5},         {"-", 0},
        {"inf", 0},        {"nan", 0}, {"0x10", 0}, {"1e999", 0},      {"07.038", 7.038},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(metadata::LeadingNumber(c.text), c.value) << c.text;
    }
}

}  // namespace
