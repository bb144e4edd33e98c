#include "online/client/OutboxSender.hpp"

#include <chrono>

OutboxSender::OutboxSender(std::string_view serverAddress, Outbox outbox)
    : client(serverAddress), outbox(std::move(outbox)) {}

OutboxSender::~OutboxSender() {
    if (pending.valid()) {
        pending.wait();
    }
}

void OutboxSender::send() {
    if (pending.valid() && pending.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
        return;
    }
    if (outbox.waitingCount() == 0) {
        return;
    }
    pending = std::async(std::launch::async,
                         [this] { return outbox.sendWaiting(client, client.timeLimit()); });
}
