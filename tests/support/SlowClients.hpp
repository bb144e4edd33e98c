#pragma once

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "LoopbackClient.hpp"

// Connections that each send one byte of a request header per second and
// never finish it, the way a slow-header attack holds a server. They come from
// several loopback addresses, 16 from each, so that a limit per address does
// not turn them away.
class SlowClients {
  public:
    SlowClients(int port, int count);
    ~SlowClients();

    int connected() const;

  private:
    std::vector<std::unique_ptr<LoopbackClient>> clients;
    std::atomic<bool> done{false};
    std::thread dripper;
};
