#pragma once

#include <limits>
#include <vector>

#include "autopilot/NavigationGrid.hpp"

// What makes a way dearer than its length: hugging walls (the ball bounces
// off them and the world cannot turn fast enough to catch it), rolling near a
// penalty (3 s each), touching a colour switch that would change a colour
// still needed, and pushing through a rope bridge.
struct PathCosts {
    float comfortClearance = 1.4f;  // units from a wall below which a way costs more
    float wallWeight = 1.5f;        // extra cost per unit of clearance missing
    float penaltyMargin = 0.6f;     // units beyond touching still avoided
    float penaltyWeight = 40.0f;    // extra cost per unit of way near a penalty
    float switchMargin = 0.4f;
    float switchWeight = 40.0f;
    // Rope bridges give way under the ball, but slowly: go round them.
    float bridgeMargin = 0.3f;
    float bridgeWeight = 40.0f;
    // A breakable block costs a fast run at it, and a bounce if too slow.
    float breakableWeight = 4.0f;
};

// The cost of the cheapest way from every grid point to the nearest goal
// point (Dijkstra over the free grid points, eight neighbours).
class PathField {
  public:
    static constexpr float unreachable = std::numeric_limits<float>::infinity();

    PathField() = default;
    // `harmlessColours` are the switch colours that may be touched on the way
    // (the ball's own colour, and the goal's).
    PathField(const NavigationGrid& grid, const std::vector<int>& goals,
              const std::vector<Colour>& harmlessColours, const PathCosts& costs);

    bool empty() const { return costs.empty(); }
    float cost(int index) const {
        return index < 0 || empty() ? unreachable : costs[static_cast<std::size_t>(index)];
    }
    bool reachable(int index) const { return cost(index) < unreachable; }
    // The neighbour one step further down the way, or -1 at a goal point.
    int next(const NavigationGrid& grid, int index) const;

  private:
    std::vector<float> costs;
};
