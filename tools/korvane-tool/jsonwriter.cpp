#include "jsonwriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>

void JsonWriter::BeginObject(bool compact) {
    Open('{', compact);
}
void JsonWriter::EndObject() {
    Close('}');
}
void JsonWriter::BeginArray(bool compact) {
    Open('[', compact);
}
void JsonWriter::EndArray() {
    Close(']');
}

void JsonWriter::Key(std::string_view key) {
    BeforeValue();
    out_ += Escape(key);
    out_ += ": ";
    afterKey_ = true;
}

void JsonWriter::String(std::string_view value) {
    BeforeValue();
    out_ += Escape(value);
}

void JsonWriter::Number(double value) {
    BeforeValue();
    out_ += FormatNumber(value);
}

void JsonWriter::Integer(std::int64_t value) {
    BeforeValue();
    out_ += std::to_string(value);
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    out_ += value ? "true" : "false";
}

void JsonWriter::Null() {
    BeforeValue();
    out_ += "null";
}

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (levels_.empty()) {
        return;
    }
    Level& level = levels_.back();
    if (!level.empty) {
        out_ += level.compact ? ", " : ",";
    }
    level.empty = false;
    if (!level.compact) {
        NewLine();
    }
}

void JsonWriter::Open(char bracket, bool compact) {
    BeforeValue();
    out_ += bracket;
    levels_.push_back({compact || (!levels_.empty() && levels_.back().compact)});
}

void JsonWriter::Close(char bracket) {
    const Level level = levels_.back();
    levels_.pop_back();
    if (!level.empty && !level.compact) {
        NewLine();
    }
    out_ += bracket;
    if (levels_.empty()) {
        out_ += '\n';
    }
}

void JsonWriter::NewLine() {
    out_ += '\n';
    out_.append(2 * levels_.size(), ' ');
}

std::string JsonWriter::FormatNumber(double value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

namespace {

// The length of the valid UTF-8 sequence at the start of `text`, or 0 when it is not one.
std::size_t Utf8Length(std::string_view text) {
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    std::uint32_t minimum = 0;
    std::uint32_t code = 0;
    if (lead < 0x80) {
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, minimum = 0x80, code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, minimum = 0x800, code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, minimum = 0x10000, code = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        code = code << 6 | (byte(i) & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < minimum || code > 0x10FFFF || surrogate ? 0 : length;
}

}  // namespace

std::string JsonWriter::Escape(std::string_view text) {
    std::string escaped = "\"";
    while (!text.empty()) {
        const char c = text.front();
        const std::size_t length = Utf8Length(text);
        if (length == 0) {
            escaped += "\\ufffd";
            text.remove_prefix(1);
            continue;
        }
        switch (c) {
            case '"':
                escaped += "\\\"";
                break;
            case '\\':
                escaped += "\\\\";
                break;
            case '\n':
                escaped += "\\n";
                break;
            case '\r':
                escaped += "\\r";
                break;
            case '\t':
                escaped += "\\t";
                break;
            case '\b':
                escaped += "\\b";
                break;
            case '\f':
                escaped += "\\f";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char code[8];
                    std::snprintf(code, sizeof code, "\\u%04x", c);
                    escaped += code;
                } else {
                    escaped.append(text.substr(0, length));
                }
        }
        text.remove_prefix(length);
    }
    return escaped + "\"";
}
