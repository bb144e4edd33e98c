#pragma once

#include <future>
#include <string_view>

#include "online/client/HighscoreClient.hpp"
#include "online/client/Outbox.hpp"

// Sends the outbox in the background, so that the menus never wait for the
// highscore server: at the start of the game and at the level selection. One
// sending at a time, each within the client's time-out; the last one is
// waited for when the sender goes.
class OutboxSender {
  public:
    explicit OutboxSender(std::string_view serverAddress, Outbox outbox = Outbox());
    ~OutboxSender();
    OutboxSender(const OutboxSender&) = delete;
    OutboxSender& operator=(const OutboxSender&) = delete;

    // Starts a sending, unless one is under way or nothing waits.
    void send();

  private:
    HighscoreClient client;
    Outbox outbox;
    // Declared after what it uses: waited for before they go.
    std::future<OutboxSending> pending;
};
