#include "sim/level/LevelIdentity.hpp"

#include <charconv>

#include "sim/base/Sha256.hpp"

namespace {

// Ids are plain decimal numbers of at most this many digits: what an int holds.
constexpr std::size_t kMostIdDigits = 9;

}  // namespace

LevelIdentity LevelIdentity::shipped(int id) {
    return LevelIdentity(id);
}

LevelIdentity LevelIdentity::ofFile(std::string sha256) {
    LevelIdentity level;
    level.sha256 = std::move(sha256);
    return level;
}

std::string LevelIdentity::text() const {
    return isShipped() ? std::to_string(id) : sha256;
}

std::optional<LevelIdentity> LevelIdentity::fromText(std::string_view text) {
    if (isSha256Hex(text)) {
        return ofFile(std::string(text));
    }
    int id = 0;
    const char* end = text.data() + text.size();
    if (text.empty() || text.size() > kMostIdDigits || text[0] < '1' || text[0] > '9' ||
        std::from_chars(text.data(), end, id).ptr != end) {
        return std::nullopt;
    }
    return shipped(id);
}
