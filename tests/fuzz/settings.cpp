// Any bytes as a settings file: reading never fails, every number getter
// gives a number, and what the game writes reads back as the same store.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/files/Settings.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Settings first;
    first.parse(std::string(reinterpret_cast<const char*>(data), size));
    for (const auto& [key, value] : first.all()) {
        if (key.empty() || value.empty() || key.find('\t') != std::string::npos ||
            value.find('\n') != std::string::npos) {
            std::abort();
        }
        first.getInt(key, 0);
        first.getFloat(key, 0.0f);
    }
    Settings second;
    second.parse(first.format());
    if (second.all() != first.all()) {
        std::abort();
    }
    return 0;
}
