#include "GzipBomb.h"

#include <zlib.h>

#include <stdexcept>
#include <vector>

namespace hostile {
namespace {

constexpr std::size_t kMiB = 1u << 20;

// Deflates `input` (raw deflate) with `flush`; the stream stays open for more.
std::string Deflate(z_stream& stream, std::vector<unsigned char>& input, int flush) {
    std::string out;
    stream.next_in = input.data();
    stream.avail_in = static_cast<uInt>(input.size());
    do {
        unsigned char buffer[16384];
        stream.next_out = buffer;
        stream.avail_out = sizeof buffer;
        if (deflate(&stream, flush) == Z_STREAM_ERROR) throw std::runtime_error("deflate");
        out.append(reinterpret_cast<char*>(buffer), sizeof buffer - stream.avail_out);
    } while (stream.avail_out == 0);
    return out;
}

void AppendLittleEndian(std::string& out, uLong value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

std::string GzipBomb(std::size_t mebibytes) {
    z_stream stream{};
    if (deflateInit2(&stream, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    std::vector<unsigned char> zeros(kMiB, 0);
    // After a full flush the next block refers to nothing before it, so one compressed
    // mebibyte can be repeated as often as wanted.
    const std::string block = Deflate(stream, zeros, Z_FULL_FLUSH);
    std::vector<unsigned char> none;
    const std::string end = Deflate(stream, none, Z_FINISH);
    deflateEnd(&stream);

    const uLong blockCrc = crc32(0L, zeros.data(), static_cast<uInt>(zeros.size()));
    uLong crc = crc32(0L, nullptr, 0);
    std::string out("\x1f\x8b\x08\x00\x00\x00\x00\x00\x02\x03", 10);  // gzip header
    out.reserve(out.size() + block.size() * mebibytes + end.size() + 8);
    for (std::size_t i = 0; i < mebibytes; ++i) {
        out += block;
        crc = crc32_combine(crc, blockCrc, static_cast<z_off_t>(kMiB));
    }
    out += end;
    AppendLittleEndian(out, crc);
    AppendLittleEndian(out, static_cast<uLong>((mebibytes * kMiB) & 0xFFFFFFFFu));
    return out;
}

}  // namespace hostile
