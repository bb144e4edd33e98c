#include "Png.hpp"

#include <zlib.h>

#include <cstdlib>
#include <fstream>

namespace {

void putU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 24));
    out.push_back(static_cast<std::uint8_t>(v >> 16));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

void putChunk(std::vector<std::uint8_t>& out, const char* type,
              const std::vector<std::uint8_t>& data) {
    putU32(out, static_cast<std::uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out.data() + start, static_cast<uInt>(out.size() - start));
    putU32(out, static_cast<std::uint32_t>(crc));
}

std::uint8_t paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) {
        return static_cast<std::uint8_t>(a);
    }
    return static_cast<std::uint8_t>(pb <= pc ? b : c);
}

// One filtered row; filter type 0 none, 1 sub, 2 up, 4 paeth.
std::vector<std::uint8_t> filterRow(const std::uint8_t* row, const std::uint8_t* prev,
                                    size_t stride, int type) {
    std::vector<std::uint8_t> out(stride + 1);
    out[0] = static_cast<std::uint8_t>(type);
    for (size_t i = 0; i < stride; ++i) {
        const int a = i >= 4 ? row[i - 4] : 0;
        const int b = prev ? prev[i] : 0;
        const int c = (prev && i >= 4) ? prev[i - 4] : 0;
        int predicted = 0;
        switch (type) {
            case 1:
                predicted = a;
                break;
            case 2:
                predicted = b;
                break;
            case 4:
                predicted = paeth(a, b, c);
                break;
            default:
                break;
        }
        out[i + 1] = static_cast<std::uint8_t>(row[i] - predicted);
    }
    return out;
}

// The usual heuristic: the filter whose output has the smallest sum of
// absolute signed bytes compresses best.
std::vector<std::uint8_t> bestFilteredRow(const std::uint8_t* row, const std::uint8_t* prev,
                                          size_t stride) {
    std::vector<std::uint8_t> best;
    long bestScore = -1;
    for (int type : {0, 1, 2, 4}) {
        std::vector<std::uint8_t> candidate = filterRow(row, prev, stride, type);
        long score = 0;
        for (size_t i = 1; i < candidate.size(); ++i) {
            score += std::abs(static_cast<int>(static_cast<std::int8_t>(candidate[i])));
        }
        if (bestScore < 0 || score < bestScore) {
            bestScore = score;
            best = std::move(candidate);
        }
    }
    return best;
}

}  // namespace

bool writePng(const std::string& path, int width, int height,
              const std::vector<std::uint8_t>& rgba) {
    const size_t stride = static_cast<size_t>(width) * 4;
    if (width <= 0 || height <= 0 || rgba.size() != stride * height) {
        return false;
    }
    std::vector<std::uint8_t> raw;
    raw.reserve((stride + 1) * height);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = rgba.data() + y * stride;
        const std::uint8_t* prev = y > 0 ? row - stride : nullptr;
        const std::vector<std::uint8_t> filtered = bestFilteredRow(row, prev, stride);
        raw.insert(raw.end(), filtered.begin(), filtered.end());
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 6) !=
        Z_OK) {
        return false;
    }
    packed.resize(packedSize);

    std::vector<std::uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<std::uint8_t> header;
    putU32(header, static_cast<std::uint32_t>(width));
    putU32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, adaptive, no interlace
    putChunk(file, "IHDR", header);
    putChunk(file, "IDAT", packed);
    putChunk(file, "IEND", {});

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
    return static_cast<bool>(out);
}
