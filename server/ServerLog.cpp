#include "ServerLog.hpp"

#include <cstdio>
#include <ctime>
#include <mutex>

namespace {

constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kLastPrintable = 0x7e;

std::string utcTimeStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ ", &parts);
    return text;
}

}  // namespace

void logLine(const std::string& text) {
    static std::mutex stderrMutex;
    const std::string line = utcTimeStamp() + text + "\n";
    std::lock_guard lock(stderrMutex);
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
}

std::string escapeForLog(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= kFirstPrintable && byte <= kLastPrintable && c != '\\') {
            escaped += c;
            continue;
        }
        escaped += "\\x";
        escaped += kHex[byte >> 4];
        escaped += kHex[byte & 0xf];
    }
    return escaped;
}
