#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The compressions of the tile editor's Base64 layer data (and, zlib, of a run
// on its way to the server).
enum class Compression { zlib, gzip, zstd };

enum class Unpacking {
    complete,       // one whole stream, nothing after it
    corrupt,        // not a stream of this compression, or damaged
    cutShort,       // the stream stops before its end
    tooLarge,       // it unpacks to more than the limit
    trailingBytes,  // bytes follow the end of the stream
};

// Unpacks one compressed stream into `out`, never more than `limitBytes`:
// decompression stops one byte past the limit, so a small file that would
// unpack to gigabytes costs no more memory and time than a map of the
// largest size. `out` keeps what was unpacked.
Unpacking unpack(Compression method, std::span<const std::uint8_t> packed, std::size_t limitBytes,
                 std::vector<std::uint8_t>& out);
