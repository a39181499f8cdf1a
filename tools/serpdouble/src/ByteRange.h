#pragma once

#include <cstddef>
#include <string_view>

namespace serpdouble {

// What a "Range" header asks of a body of known size.
struct ByteRange {
    enum class Kind { Whole, Slice, Unsatisfiable };
    Kind kind = Kind::Whole;
    std::size_t first = 0;  // inclusive bounds of a Slice
    std::size_t last = 0;
};

// Reads one "bytes=A-B", "bytes=A-" or "bytes=-N". Anything else (several ranges, bad
// syntax, B before A) asks for the whole body, as a server may ignore such a header.
ByteRange ReadByteRange(std::string_view header, std::size_t size);

}  // namespace serpdouble
