#include "ServerLog.hpp"

#include <cstdio>
#include <ctime>
#include <mutex>

namespace {

constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kLastPrintable = 0x7e;
// The most of a refused text a refusal repeats, and of the refusal itself.
constexpr std::size_t kEchoLimit = 40;
constexpr std::size_t kRefusalLimit = 160;

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

std::string cutForLog(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) {
        return std::string(text);
    }
    return std::string(text.substr(0, limit)) + "...[" + std::to_string(text.size() - limit) +
           " more bytes]";
}

std::string boundedRefusal(std::string_view reason) {
    // The refused text is what stands between the first and the last quote;
    // a quote inside it cannot move the cut past its end.
    const std::size_t open = reason.find('\'');
    const std::size_t close = reason.rfind('\'');
    std::string bounded(reason);
    if (open != std::string_view::npos && close > open + 1 + kEchoLimit) {
        bounded = std::string(reason.substr(0, open + 1 + kEchoLimit)) + "...'" +
                  std::string(reason.substr(close + 1));
    }
    return cutForLog(bounded, kRefusalLimit);
}
