#include "boxwriter.h"

BoxWriter::Scope BoxWriter::Box(std::string_view type) {
    StartBox(type);
    return Scope(*this);
}

BoxWriter::Scope BoxWriter::FullBox(std::string_view type, std::uint8_t version,
                                    std::uint32_t flags) {
    StartBox(type);
    U32(static_cast<std::uint32_t>(version) << 24 | (flags & 0xFFFFFF));
    return Scope(*this);
}

void BoxWriter::StartBox(std::string_view type) {
    open_.push_back(data_.size());
    U32(0);  // size, patched by EndBox
    FourCC(type);
}

void BoxWriter::U16(std::uint16_t value) {
    U8(static_cast<std::uint8_t>(value >> 8));
    U8(static_cast<std::uint8_t>(value));
}

void BoxWriter::U32(std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        U8(static_cast<std::uint8_t>(value >> shift));
    }
}

void BoxWriter::FourCC(std::string_view code) {
    for (std::size_t i = 0; i < 4; ++i) {
        U8(i < code.size() ? static_cast<std::uint8_t>(code[i]) : ' ');
    }
}

void BoxWriter::Bytes(std::span<const std::uint8_t> bytes) {
    data_.insert(data_.end(), bytes.begin(), bytes.end());
}

void BoxWriter::CString(std::string_view text) {
    data_.insert(data_.end(), text.begin(), text.end());
    U8(0);
}

void BoxWriter::IdentityMatrix() {
    const std::uint32_t matrix[9] = {0x10000, 0, 0, 0, 0x10000, 0, 0, 0, 0x40000000};
    for (std::uint32_t value : matrix) {
        U32(value);
    }
}

void BoxWriter::EndBox() {
    const std::size_t start = open_.back();
    open_.pop_back();
    const auto size = static_cast<std::uint32_t>(data_.size() - start);
    for (int i = 0; i < 4; ++i) {
        data_[start + i] = static_cast<std::uint8_t>(size >> (24 - 8 * i));
    }
}
