#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

namespace fetchcore {

// Takes a chunked body ("Transfer-Encoding: chunked") in pieces as they came and hands on
// the data it carries, without the chunk sizes, extensions and trailers.
class ChunkedBody {
  public:
    using Data = std::function<void(std::string_view)>;

    explicit ChunkedBody(Data data) : data_(std::move(data)) {}
    void Feed(std::string_view bytes);

  private:
    enum class State { Size, Extension, Data, DataEnd, Trailer, TrailerLine, Done };

    void Take(char c);

    Data data_;
    State state_ = State::Size;
    uint64_t left_ = 0;  // data bytes of the current chunk still to come
};

}  // namespace fetchcore
