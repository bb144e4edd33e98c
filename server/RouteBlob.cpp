#include "RouteBlob.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr char kFormat = 1;
constexpr std::size_t kPointBytes = 4;
// A start and a finish.
constexpr std::size_t kFewestPoints = 2;
// Twenty points a second for half an hour, with room to spare: a blob beyond
// it is no route of ours, and reading it would only cost.
constexpr std::size_t kMostPoints = 40000;

std::int16_t wholePixels(float value) {
    constexpr float lowest = std::numeric_limits<std::int16_t>::min();
    constexpr float highest = std::numeric_limits<std::int16_t>::max();
    // A verified world is finite; a ball thrown out of the map is clamped.
    if (!std::isfinite(value)) {
        return 0;
    }
    return static_cast<std::int16_t>(std::lround(std::clamp(value, lowest, highest)));
}

void appendInt16(std::string& blob, std::int16_t value) {
    const auto bits = static_cast<std::uint16_t>(value);
    blob += static_cast<char>(bits & 0xff);
    blob += static_cast<char>(bits >> 8);
}

int int16At(std::string_view blob, std::size_t at) {
    const auto low = static_cast<std::uint8_t>(blob[at]);
    const auto high = static_cast<std::uint8_t>(blob[at + 1]);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8)));
}

}  // namespace

std::string routeBlob(const std::vector<b2Vec2>& route) {
    if (route.size() < kFewestPoints) {
        return "";
    }
    std::string blob(1, kFormat);
    blob.reserve(1 + route.size() * kPointBytes);
    for (const b2Vec2& point : route) {
        appendInt16(blob, wholePixels(point.x));
        appendInt16(blob, wholePixels(point.y));
    }
    return blob;
}

std::optional<std::vector<RoutePoint>> readRouteBlob(std::string_view blob) {
    if (blob.empty() || blob[0] != kFormat || (blob.size() - 1) % kPointBytes != 0) {
        return std::nullopt;
    }
    const std::size_t count = (blob.size() - 1) / kPointBytes;
    if (count < kFewestPoints || count > kMostPoints) {
        return std::nullopt;
    }
    std::vector<RoutePoint> points;
    points.reserve(count);
    for (std::size_t at = 1; at < blob.size(); at += kPointBytes) {
        points.push_back({int16At(blob, at), int16At(blob, at + 2)});
    }
    return points;
}
