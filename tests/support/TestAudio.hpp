#pragma once

#include <string>

// Opens the real mixer on SDL's dummy driver (no sound card needed) for the
// lifetime of the object, the way the game opens it.
class TestAudio {
  public:
    TestAudio();
    ~TestAudio();
    TestAudio(const TestAudio&) = delete;
    TestAudio& operator=(const TestAudio&) = delete;
    bool isOpen() const { return open; }

  private:
    bool open = false;
};

// A 16-bit stereo 44.1 kHz WAV file of a quiet sine tone.
std::string makeToneWav(double seconds, double frequency = 440.0);
