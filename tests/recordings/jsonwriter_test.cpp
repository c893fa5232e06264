#include "jsonwriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

TEST(JsonWriter, NumbersReadBackExactly) {
    const double values[] = {0.0,
                             -0.0,
                             1.0,
                             0.1,
                             37.57588888888889,
                             1e-300,
                             1e300,
                             -2.5e-7,
                             126.97683333333333,
                             std::numeric_limits<double>::max()};
    for (double value : values) {
        const std::string text = JsonWriter::FormatNumber(value);
        EXPECT_EQ(std::strtod(text.c_str(), nullptr), value) << text;
        EXPECT_EQ(text.find_first_of("nN"), std::string::npos) << text;
    }
    EXPECT_EQ(JsonWriter::FormatNumber(0.1), "0.1");  // shortest form, not 0.1000000000000000055
    EXPECT_EQ(JsonWriter::FormatNumber(std::nan("")), "null");
    EXPECT_EQ(JsonWriter::FormatNumber(-std::numeric_limits<double>::infinity()), "null");
}

TEST(JsonWriter, StringsAreEscaped) {
    const struct {
        std::string text;
        std::string json;
    } cases[] = {
        {"plain", "\"plain\""},
        {"say \"hi\"\\", "\"say \\\"hi\\\"\\\\\""},
        {"a\nb\tc\r\b\f", "\"a\\nb\\tc\\r\\b\\f\""},
        {std::string("nul\0x\x1f", 6), "\"nul\\u0000x\\u001f\""},
        {"/카드/영상.mp4", "\"/카드/영상.mp4\""},       // valid UTF-8 stays as it is
        {"bad\xff\xc3(", "\"bad\\ufffd\\ufffd(\""},     // invalid bytes are replaced
        {"\xed\xa0\x80", "\"\\ufffd\\ufffd\\ufffd\""},  // an encoded surrogate is invalid
        {"\xc0\xaf", "\"\\ufffd\\ufffd\""},             // an overlong '/' too
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JsonWriter::Escape(c.text), c.json) << c.text;
    }
}

TEST(JsonWriter, Layout) {
    JsonWriter json;
    json.BeginObject();
    json.Member("name", "x");
    json.Member("count", 2);
    json.Member("ok", true);
    json.Key("empty");
    json.BeginArray();
    json.EndArray();
    json.Key("points");
    json.BeginArray();
    for (int i = 0; i < 2; ++i) {
        json.BeginObject(true);
        json.Member("x", i * 0.5);
        json.Key("tags");
        json.BeginArray();
        json.Null();
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    EXPECT_EQ(json.str(),
              "{\n"
              "  \"name\": \"x\",\n"
              "  \"count\": 2,\n"
              "  \"ok\": true,\n"
              "  \"empty\": [],\n"
              "  \"points\": [\n"
              "    {\"x\": 0, \"tags\": [null]},\n"
              "    {\"x\": 0.5, \"tags\": [null]}\n"
              "  ]\n"
              "}\n");
}
