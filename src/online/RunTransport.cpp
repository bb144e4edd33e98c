#include "online/RunTransport.hpp"

#include <zlib.h>

#include <array>

#include "sim/base/Base64.hpp"

namespace {

// Keeps zlib's stream state for one call and frees it whatever happens.
class Inflater {
  public:
    Inflater() { ready = inflateInit(&stream) == Z_OK; }
    ~Inflater() {
        if (ready) {
            inflateEnd(&stream);
        }
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    std::optional<std::string> inflateAll(const std::string& compressed, std::size_t maxBytes) {
        if (!ready) {
            return std::nullopt;
        }
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
        stream.avail_in = static_cast<uInt>(compressed.size());
        std::string text;
        std::array<char, 16384> chunk;
        int status = Z_OK;
        while (status == Z_OK) {
            stream.next_out = reinterpret_cast<Bytef*>(chunk.data());
            stream.avail_out = static_cast<uInt>(chunk.size());
            status = inflate(&stream, Z_NO_FLUSH);
            const std::size_t made = chunk.size() - stream.avail_out;
            if (text.size() + made > maxBytes) {
                return std::nullopt;
            }
            text.append(chunk.data(), made);
            if (status == Z_BUF_ERROR && made > 0) {
                status = Z_OK;  // more output room was all it needed
            }
        }
        if (status != Z_STREAM_END || stream.avail_in != 0) {
            return std::nullopt;  // cut short, corrupt, or bytes after its end
        }
        return text;
    }

  private:
    z_stream stream{};
    bool ready = false;
};

}  // namespace

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
    return Inflater().inflateAll(*compressed, maxBytes);
}
