#include "sim/base/Unpack.hpp"

#include <zlib.h>
#include <zstd.h>
#include <zstd_errors.h>

#include <limits>
#include <memory>

namespace {

// zlib's window bits: 15 for the largest window, +16 to expect a gzip header
// instead of a zlib one (zlib's own convention).
constexpr int zlibWindowBits = 15;
constexpr int gzipWindowBits = 15 + 16;

Unpacking inflateStream(std::span<const std::uint8_t> packed, int windowBits,
                        std::vector<std::uint8_t>& out) {
    if (packed.size() > std::numeric_limits<uInt>::max() ||
        out.size() > std::numeric_limits<uInt>::max()) {
        return Unpacking::tooLarge;
    }
    z_stream stream{};
    if (inflateInit2(&stream, windowBits) != Z_OK) {
        return Unpacking::corrupt;
    }
    // zlib takes its input through a pointer to non-const but only reads it.
    stream.next_in = const_cast<Bytef*>(packed.data());
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const int status = inflate(&stream, Z_FINISH);
    const uInt unread = stream.avail_in;
    const uInt roomLeft = stream.avail_out;
    inflateEnd(&stream);
    out.resize(out.size() - roomLeft);
    if (status == Z_STREAM_END) {
        return unread == 0 ? Unpacking::complete : Unpacking::trailingBytes;
    }
    if (status == Z_BUF_ERROR) {
        return roomLeft == 0 ? Unpacking::tooLarge : Unpacking::cutShort;
    }
    return Unpacking::corrupt;
}

struct FreeZstdContext {
    void operator()(ZSTD_DCtx* context) const { ZSTD_freeDCtx(context); }
};

// The one-shot decoder writes straight into `out` and keeps its history
// there: a frame that claims a huge window allocates nothing for it.
Unpacking decompressZstd(std::span<const std::uint8_t> packed, std::vector<std::uint8_t>& out) {
    const std::unique_ptr<ZSTD_DCtx, FreeZstdContext> context(ZSTD_createDCtx());
    if (!context) {
        return Unpacking::corrupt;
    }
    const std::size_t result =
        ZSTD_decompressDCtx(context.get(), out.data(), out.size(), packed.data(), packed.size());
    if (!ZSTD_isError(result)) {
        out.resize(result);
        return Unpacking::complete;
    }
    out.clear();
    switch (ZSTD_getErrorCode(result)) {
        case ZSTD_error_dstSize_tooSmall:
            return Unpacking::tooLarge;
        case ZSTD_error_srcSize_wrong:
            return Unpacking::cutShort;
        default:
            return Unpacking::corrupt;
    }
}

}  // namespace

Unpacking unpack(Compression method, std::span<const std::uint8_t> packed, std::size_t limitBytes,
                 std::vector<std::uint8_t>& out) {
    // One byte of room past the limit tells "exactly the limit" from "more".
    out.assign(limitBytes + 1, 0);
    Unpacking outcome = Unpacking::corrupt;
    switch (method) {
        case Compression::zlib:
            outcome = inflateStream(packed, zlibWindowBits, out);
            break;
        case Compression::gzip:
            outcome = inflateStream(packed, gzipWindowBits, out);
            break;
        case Compression::zstd:
            outcome = decompressZstd(packed, out);
            break;
    }
    return out.size() > limitBytes ? Unpacking::tooLarge : outcome;
}
