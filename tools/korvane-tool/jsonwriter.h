#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Writes one JSON document into a string: two-space indentation, one member or element per
// line except inside compact containers, numbers in their shortest form that reads back to the
// same double, strings escaped (invalid UTF-8 becomes U+FFFD). The caller keeps the nesting
// right; keys are written only inside objects.
class JsonWriter {
public:
    // A compact container puts all its members on one line: {"x": 1, "y": 2}.
    void BeginObject(bool compact = false);
    void EndObject();
    void BeginArray(bool compact = false);
    void EndArray();

    void Key(std::string_view key);
    void String(std::string_view value);
    // Not-a-number and the infinities, which JSON cannot hold, become null.
    void Number(double value);
    void Integer(std::int64_t value);
    void Bool(bool value);
    void Null();

    // Key followed by a value.
    template <typename T>
    void Member(std::string_view key, const T& value) {
        Key(key);
        Value(value);
    }

    // The document, ending in a line break once every container is closed.
    const std::string& str() const { return out_; }

    static std::string Escape(std::string_view text);
    static std::string FormatNumber(double value);

private:
    struct Level {
        bool compact;
        bool empty = true;
    };

    void Value(std::string_view value) { String(value); }
    void Value(const std::string& value) { String(value); }
    void Value(const char* value) { String(value); }
    void Value(double value) { Number(value); }
    void Value(std::int32_t value) { Integer(value); }
    void Value(std::int64_t value) { Integer(value); }
    void Value(std::uint32_t value) { Integer(value); }
    void Value(bool value) { Bool(value); }

    void BeforeValue();
    void Open(char bracket, bool compact);
    void Close(char bracket);
    void NewLine();

    std::string out_;
    std::vector<Level> levels_;
    bool afterKey_ = false;
};
