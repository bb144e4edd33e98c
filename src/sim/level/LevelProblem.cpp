#include "sim/level/LevelProblem.hpp"

std::string LevelProblem::text() const {
    if (line > 0) {
        const std::string where = "line " + std::to_string(line);
        return (column > 0 ? where + ", column " + std::to_string(column) : where) + ": " + reason;
    }
    if (cellX >= 0 && cellY >= 0) {
        return "tile " + std::to_string(cellX) + ", " + std::to_string(cellY) + ": " + reason;
    }
    return reason;
}
