#pragma once

#include <cstddef>
#include <vector>

namespace soundgen {

using MonoBuffer = std::vector<float>;

// Two channels of float samples at 44.1 kHz, nominal full scale 1.0.
struct StereoBuffer {
    std::vector<float> left;
    std::vector<float> right;

    StereoBuffer() = default;
    explicit StereoBuffer(std::size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}

    std::size_t frames() const { return left.size(); }
    void resize(std::size_t frames);

    // Adds a mono signal from frame `start`, panned (-1 left .. +1 right, equal
    // power) and scaled; the buffer grows when the signal runs past its end.
    void addMono(const MonoBuffer& signal, std::size_t start, double gain, double pan);
    // Adds another stereo buffer from frame `start`, scaled; grows as needed.
    void addStereo(const StereoBuffer& other, std::size_t start, double gain);

    // Largest absolute sample of both channels.
    double peak() const;
    // Root mean square over both channels.
    double rms() const;
    void scale(double gain);
    // Scales so that the largest sample is `peakDb` dBFS.
    void normalisePeak(double peakDb);

    // Raised-cosine fades over the first / last `seconds`, so the signal starts
    // and ends at exactly zero and the edges make no click.
    void fadeIn(double seconds);
    void fadeOut(double seconds);
    // Cuts or pads with silence to exactly `frames` frames.
    void truncate(std::size_t frames);

    // Folds everything past `loopFrames` back onto the start and cuts there: the
    // ringing of the last bar (notes and reverb) continues into the first, as it
    // does when the piece plays again and again.
    void foldLoop(std::size_t loopFrames);
};

// Shapes of a mono signal, for sound effects built from pieces.
void fadeInMono(MonoBuffer& signal, double seconds);
void fadeOutMono(MonoBuffer& signal, double seconds);
void addInto(MonoBuffer& target, const MonoBuffer& signal, std::size_t start, double gain);

}  // namespace soundgen
