#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

// Builds MP4 boxes in memory: big-endian integers, four-character codes and nested boxes whose
// size fields are filled in when the box is closed.
class BoxWriter {
public:
    // Closes its box when it goes out of scope; boxes close in reverse order of opening. Read
    // data() only after every scope has ended.
    class Scope {
    public:
        ~Scope() { writer_.EndBox(); }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        friend class BoxWriter;
        explicit Scope(BoxWriter& writer) : writer_(writer) {}
        BoxWriter& writer_;
    };

    [[nodiscard]] Scope Box(std::string_view type);
    // A box that starts with a version byte and 24 bits of flags.
    [[nodiscard]] Scope FullBox(std::string_view type, std::uint8_t version, std::uint32_t flags);

    void U8(std::uint8_t value) { data_.push_back(value); }
    void U16(std::uint16_t value);
    void U32(std::uint32_t value);
    void FourCC(std::string_view code);
    void Bytes(std::span<const std::uint8_t> bytes);
    void Zeros(std::size_t count) { data_.insert(data_.end(), count, 0); }
    // The text and its terminating NUL.
    void CString(std::string_view text);
    // The 3x3 identity transformation of movie and track headers.
    void IdentityMatrix();

    const std::vector<std::uint8_t>& data() const { return data_; }
    std::size_t size() const { return data_.size(); }

private:
    void StartBox(std::string_view type);
    void EndBox();

    std::vector<std::uint8_t> data_;
    std::vector<std::size_t> open_;  // offsets of the boxes not closed yet
};
