#include "online/RunTransport.hpp"

#include <zlib.h>

#include "sim/base/Base64.hpp"
#include "sim/base/Unpack.hpp"

std::string packRun(std::string_view runText) {
    uLongf size = compressBound(static_cast<uLong>(runText.size()));
    std::string compressed(size, '\0');
    compress2(reinterpret_cast<Bytef*>(compressed.data()), &size,
              reinterpret_cast<const Bytef*>(runText.data()), static_cast<uLong>(runText.size()),
              Z_BEST_COMPRESSION);
    compressed.resize(size);
    return Base64::encode(compressed, Base64::Alphabet::urlSafe);
}

std::optional<std::string> unpackRun(std::string_view packed, std::size_t maxBytes) {
    const auto compressed = Base64::decode(packed, Base64::Alphabet::urlSafe);
    if (!compressed || compressed->empty()) {
        return std::nullopt;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(compressed->data());
    std::vector<std::uint8_t> text;
    if (unpack(Compression::zlib, {bytes, compressed->size()}, maxBytes, text) !=
        Unpacking::complete) {
        return std::nullopt;
    }
    return std::string(text.begin(), text.end());
}
