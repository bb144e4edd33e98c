#include "sim/level/LevelIdentity.hpp"

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
