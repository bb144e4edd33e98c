#pragma once

#include "ServerProcess.hpp"

// How long an honest run waits for its verdict while strangers keep the
// replay threads busy: twelve clients from twelve addresses each queue a run
// of The Rope Bridge that never finishes and claims half an hour, then one
// more address sends honest runs of The Rope Bridge (the committed run, each
// made another text by a harmless key release) one after another, and the
// time from sending each to its verdict is measured. Prints p50, p99 and the
// slowest; `samples` honest runs.
void measureVerificationLatency(const ServerProcess& server, int samples);
