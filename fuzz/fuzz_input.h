#pragma once

// Cuts a fuzzer's input into the parts a target needs. Every taker is total:
// an input that runs out gives zeros and empty texts, never an error.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace varnot::fuzzing {

class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}

    bool Empty() const { return rest_.empty(); }

    std::uint8_t Byte() {
        if (rest_.empty()) return 0;
        const auto byte = static_cast<std::uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return byte;
    }

    bool Flag() { return (Byte() & 1) != 0; }

    // A number in 0..limit (inclusive) from two bytes.
    std::size_t Below(std::size_t limit) {
        const std::size_t raw = (std::size_t{Byte()} << 8) | Byte();
        return limit == 0 ? 0 : raw % (limit + 1);
    }

    // A text of at most `limit` bytes: its length byte first, then the bytes.
    std::string Text(std::size_t limit = 255) {
        std::size_t length = Byte();
        if (length > limit) length = limit;
        return Take(length);
    }

    // Everything left.
    std::string Rest() {
        std::string all(rest_);
        rest_ = {};
        return all;
    }

  private:
    std::string Take(std::size_t length) {
        if (length > rest_.size()) length = rest_.size();
        std::string part(rest_.substr(0, length));
        rest_.remove_prefix(length);
        return part;
    }

    std::string_view rest_;
};

// A broken property: says which and stops the run, so the fuzzer keeps the
// input and the replay driver fails.
[[noreturn]] inline void Fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what);
    std::abort();
}

// A path in a folder of this process's own, for targets that read files.
std::string ScratchPath(std::string_view name);

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) ::varnot::fuzzing::Fail(#condition, __FILE__, __LINE__);                 \
    } while (false)

} // namespace varnot::fuzzing
