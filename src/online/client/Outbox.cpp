#include "online/client/Outbox.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <SFML/System/Clock.hpp>
#include <SFML/System/Sleep.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "app/files/UserFolders.hpp"
#include "online/client/HighscoreClient.hpp"
#include "sim/base/FileBytes.hpp"
#include "sim/base/FileReplace.hpp"

namespace {

constexpr const char* requestExtension = ".request";
constexpr const char* lockName = ".sending";
const sf::Time lockPoll = sf::milliseconds(20);
constexpr std::size_t refusalShown = 120;

enum class Verdict { taken, refused, later };

// "OK ..." takes it; a refusal is final unless it says "not now".
Verdict verdictOf(const HttpAnswer& answer) {
    if (!answer.complete) {
        return Verdict::later;
    }
    if (answer.status >= 200 && answer.status < 300 && answer.body.rfind("OK", 0) == 0) {
        return Verdict::taken;
    }
    const bool tryLater = answer.status == 408 || answer.status == 429;
    return answer.status >= 400 && answer.status < 500 && !tryLater ? Verdict::refused
                                                                    : Verdict::later;
}

// A name that sorts by the time it was kept: milliseconds since the epoch,
// then a count for several kept in the same millisecond.
std::string entryName(unsigned count) {
    const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    char name[64];
    std::snprintf(name, sizeof name, "%016lld-%06u%s", static_cast<long long>(now), count % 1000000,
                  requestExtension);
    return name;
}

// An exclusive lock on a file of the folder for as long as it lives; taken
// within the limit or not at all.
class SendingLock {
  public:
    SendingLock(const std::filesystem::path& folder, sf::Time limit) {
        fd = ::open((folder / lockName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        const sf::Clock waiting;
        while (fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if (waiting.getElapsedTime() + lockPoll > limit) {
                ::close(fd);
                fd = -1;
                return;
            }
            sf::sleep(lockPoll);
        }
    }
    ~SendingLock() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    SendingLock(const SendingLock&) = delete;
    SendingLock& operator=(const SendingLock&) = delete;

    bool held() const { return fd >= 0; }

  private:
    int fd = -1;
};

}  // namespace

std::filesystem::path Outbox::defaultFolder() {
    const std::filesystem::path data = userDataFolder();
    return data.empty() ? data : data / "outbox";
}

Outbox::Outbox(std::filesystem::path folder) : folder(std::move(folder)) {}

bool Outbox::keep(std::string_view path, std::string_view body) {
    std::error_code error;
    if (folder.empty() || (!std::filesystem::create_directories(folder, error) && error)) {
        return false;
    }
    std::string request(path);
    request += '\n';
    request += body;
    if (!replaceFileContents((folder / entryName(kept++)).string(), request)) {
        return false;
    }
    const std::vector<std::filesystem::path> waiting = entries();
    for (std::size_t i = 0; i + maxWaiting < waiting.size(); ++i) {
        std::fprintf(stderr,
                     "rollavortex: over %zu times wait for the highscore server; "
                     "the oldest is dropped\n",
                     maxWaiting);
        std::filesystem::remove(waiting[i], error);
    }
    return true;
}

std::vector<std::filesystem::path> Outbox::entries() const {
    std::vector<std::filesystem::path> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().extension() == requestExtension) {
            found.push_back(entry.path());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::size_t Outbox::waitingCount() const {
    return entries().size();
}

OutboxSending Outbox::sendWaiting(const HighscoreClient& client, sf::Time limit) const {
    OutboxSending sending;
    const sf::Clock spent;
    const SendingLock lock(folder, limit);
    const std::vector<std::filesystem::path> waiting = entries();
    sending.waiting = static_cast<int>(waiting.size());
    if (!lock.held()) {
        return sending;
    }
    for (const std::filesystem::path& entry : waiting) {
        const sf::Time left = limit - spent.getElapsedTime();
        const auto bytes = readWholeFile(entry.string());
        if (left <= sf::Time::Zero || !bytes) {
            break;
        }
        const std::string request(bytes->data(), bytes->size());
        const std::size_t newline = request.find('\n');
        const HttpAnswer answer =
            newline == std::string::npos
                ? HttpAnswer{}
                : client.answerTo(std::string_view(request).substr(0, newline),
                                  std::string_view(request).substr(newline + 1), left);
        const Verdict verdict = newline == std::string::npos ? Verdict::refused : verdictOf(answer);
        if (verdict == Verdict::later) {
            break;
        }
        if (verdict == Verdict::refused) {
            const std::string why = answer.body.substr(0, answer.body.find('\n'));
            std::fprintf(stderr, "rollavortex: the highscore server refused a waiting time: %s\n",
                         why.substr(0, refusalShown).c_str());
            ++sending.refused;
        } else {
            ++sending.taken;
        }
        std::error_code ignored;
        std::filesystem::remove(entry, ignored);
        --sending.waiting;
    }
    return sending;
}
