#include "Reverb.hpp"

#include <array>
#include <vector>

#include "Dsp.hpp"
#include "Filters.hpp"

namespace soundgen {

namespace {

class Comb {
  public:
    explicit Comb(std::size_t length) : buffer(length, 0.0) {}
    double process(double input, double feedback, double damping) {
        const double out = buffer[index];
        filterStore = out * (1.0 - damping) + filterStore * damping;
        buffer[index] = input + filterStore * feedback;
        if (++index == buffer.size()) {
            index = 0;
        }
        return out;
    }

  private:
    std::vector<double> buffer;
    std::size_t index = 0;
    double filterStore = 0.0;
};

class AllPass {
  public:
    explicit AllPass(std::size_t length) : buffer(length, 0.0) {}
    double process(double input) {
        const double delayed = buffer[index];
        buffer[index] = input + delayed * 0.5;
        if (++index == buffer.size()) {
            index = 0;
        }
        return delayed - input;
    }

  private:
    std::vector<double> buffer;
    std::size_t index = 0;
};

// Delay lengths in frames at 44.1 kHz; mutually prime-ish so the echoes do not
// line up into a metallic ring. The right channel is detuned by a few frames.
constexpr std::array<std::size_t, 8> combLengths = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr std::array<std::size_t, 4> allPassLengths = {556, 441, 341, 225};
constexpr std::size_t stereoSpread = 23;
// Keeps the summed combs in range; the level is set by the send gains anyway.
constexpr double inputGain = 0.015;

class Channel {
  public:
    explicit Channel(std::size_t spread) {
        for (std::size_t length : combLengths) {
            combs.emplace_back(length + spread);
        }
        for (std::size_t length : allPassLengths) {
            allPasses.emplace_back(length + spread);
        }
    }
    double process(double input, double feedback, double damping) {
        double out = 0.0;
        for (Comb& comb : combs) {
            out += comb.process(input, feedback, damping);
        }
        for (AllPass& allPass : allPasses) {
            out = allPass.process(out);
        }
        return out;
    }

  private:
    std::vector<Comb> combs;
    std::vector<AllPass> allPasses;
};

}  // namespace

StereoBuffer reverberate(const MonoBuffer& send, const ReverbSettings& settings) {
    StereoBuffer wet(send.size());
    Channel left(0);
    Channel right(stereoSpread);
    const double feedback = settings.roomSize * 0.28 + 0.7;
    const double damping = settings.damping * 0.4;
    const std::size_t preDelay = secondsToFrames(settings.preDelay);
    // Low rumble and top fizz make a reverb muddy or harsh; keep them out of it.
    OnePole lowCut(180.0);
    OnePole highCut(7000.0);
    const double mid = (1.0 + settings.width) * 0.5;
    const double side = (1.0 - settings.width) * 0.5;
    for (std::size_t i = 0; i < send.size(); ++i) {
        const double raw = i >= preDelay ? send[i - preDelay] : 0.0;
        const double input = highCut.lowpass(lowCut.highpass(raw)) * inputGain;
        const double l = left.process(input, feedback, damping);
        const double r = right.process(input, feedback, damping);
        wet.left[i] = static_cast<float>(l * mid + r * side);
        wet.right[i] = static_cast<float>(r * mid + l * side);
    }
    return wet;
}

}  // namespace soundgen
