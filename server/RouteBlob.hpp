#pragma once

#include <box2d/b2_math.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A point of a verified run's route: the ball's centre in whole world pixels
// (y down), where the centre of cell (c, r) is at (64 c, 64 r).
struct RoutePoint {
    int x = 0;
    int y = 0;

    bool operator==(const RoutePoint&) const = default;
};

// A route as the store keeps it beside its verified run: a format byte, then
// each point as two little-endian 16-bit integers. The largest level is
// 234 cells of 64 pixels, well inside them. About 4 bytes for each twentieth
// of a second of play: 144 kB for the longest run a server takes. "" (no
// route) for fewer points than a start and a finish.
std::string routeBlob(const std::vector<b2Vec2>& route);

// The points of a blob routeBlob wrote; empty for anything else (a blob of
// another format or length, or fewer than the start and the finish).
std::optional<std::vector<RoutePoint>> readRouteBlob(std::string_view blob);
