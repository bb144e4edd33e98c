#pragma once

#include <functional>
#include <map>
#include <string>

#include "NetworkStandIns.hpp"
#include "Pixels.hpp"
#include "ScriptedGame.hpp"
#include "ServerProcess.hpp"

// Records a value of the running screen in every frame, by frame number.
template <typename T>
class FrameLog {
  public:
    FrameLog(ScriptedGame& game, std::function<T()> read) {
        game.everyFrame(
            [this, read](GameWindow& window) { values[window.frameNumber()] = read(); });
    }
    const T& at(std::uint64_t frame) const { return values.at(frame); }
    bool has(std::uint64_t frame) const { return values.count(frame) != 0; }
    // First frame at which the value satisfies `test`, or -1.
    long long first(const std::function<bool(const T&)>& test) const {
        for (const auto& [frame, value] : values) {
            if (test(value)) {
                return static_cast<long long>(frame);
            }
        }
        return -1;
    }

  private:
    std::map<std::uint64_t, T> values;
};
