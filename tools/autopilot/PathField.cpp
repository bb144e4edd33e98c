#include "autopilot/PathField.hpp"

#include <algorithm>
#include <functional>
#include <queue>
#include <utility>

namespace {

float pointWeight(const NavigationGrid& grid, int index, const std::vector<Colour>& harmlessColours,
                  const PathCosts& costs) {
    float weight =
        1.0f + costs.wallWeight * std::max(0.0f, costs.comfortClearance - grid.clearance(index));
    if (grid.penaltyDistance(index) < NavigationGrid::ballRadius + costs.penaltyMargin) {
        weight += costs.penaltyWeight;
    }
    if (grid.inBreakable(index)) {
        weight += costs.breakableWeight;
    }
    if (grid.bridgeDistance(index) < NavigationGrid::ballRadius + costs.bridgeMargin) {
        weight += costs.bridgeWeight;
    }
    const Colour colour = grid.switchColour(index);
    if (grid.switchDistance(index) < NavigationGrid::ballRadius + costs.switchMargin &&
        std::find(harmlessColours.begin(), harmlessColours.end(), colour) ==
            harmlessColours.end()) {
        weight += costs.switchWeight;
    }
    return weight;
}

}  // namespace

PathField::PathField(const NavigationGrid& grid, const std::vector<int>& goals,
                     const std::vector<Colour>& harmlessColours, const PathCosts& pathCosts)
    : costs(static_cast<std::size_t>(grid.size()), unreachable) {
    std::vector<float> weights(static_cast<std::size_t>(grid.size()));
    for (int i = 0; i < grid.size(); ++i) {
        weights[static_cast<std::size_t>(i)] = pointWeight(grid, i, harmlessColours, pathCosts);
    }
    using Entry = std::pair<float, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
    for (int goal : goals) {
        if (goal >= 0 && goal < grid.size() && !grid.blocked(goal)) {
            costs[static_cast<std::size_t>(goal)] = 0.0f;
            open.emplace(0.0f, goal);
        }
    }
    int around[8];
    float lengths[8];
    while (!open.empty()) {
        const auto [cost, index] = open.top();
        open.pop();
        if (cost > costs[static_cast<std::size_t>(index)]) {
            continue;
        }
        const int count = grid.neighbours(index, around, lengths);
        for (int k = 0; k < count; ++k) {
            const auto other = static_cast<std::size_t>(around[k]);
            const float step =
                lengths[k] * 0.5f * (weights[static_cast<std::size_t>(index)] + weights[other]);
            if (cost + step < costs[other]) {
                costs[other] = cost + step;
                open.emplace(cost + step, around[k]);
            }
        }
    }
}

int PathField::next(const NavigationGrid& grid, int index) const {
    if (!reachable(index) || cost(index) <= 0.0f) {
        return -1;
    }
    int around[8];
    float lengths[8];
    const int count = grid.neighbours(index, around, lengths);
    int best = -1;
    float bestCost = cost(index);
    for (int k = 0; k < count; ++k) {
        if (cost(around[k]) < bestCost) {
            bestCost = cost(around[k]);
            best = around[k];
        }
    }
    return best;
}
