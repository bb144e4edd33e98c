#include <box2d/b2_timer.h>

// Box2D times every step, island and time-of-impact pass for its b2Profile by
// reading the system clock, and those reads cost about a tenth of a world step
// (more than all our own work around it); nothing in the game reads the
// profile, and the simulation must read no clock. These take the place of
// Box2D's b2_timer.cpp, which cmake/PinnedBox2D.cmake leaves out of the build.
// The physics never reads a timer, so every body goes where it would anyway.
b2Timer::b2Timer() : m_start_sec(0), m_start_usec(0) {}

void b2Timer::Reset() {}

float b2Timer::GetMilliseconds() const {
    return 0.0f;
}
