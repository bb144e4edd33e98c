#include "MenuSceneSupport.hpp"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "online/HighscoreClient.hpp"
#include "online/ScoreText.hpp"

extern char** environ;

namespace {

constexpr double serverStartSeconds = 10.0;

// The server is built into <build>/server, the tests into <build>/tests.
std::string serverBinary() {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return "";
    }
    const auto candidate = self.parent_path().parent_path() / "server" / "rollavortex-highscored";
    return std::filesystem::exists(candidate) ? candidate.string() : "";
}

}  // namespace

std::string refusingAddress() {
    // A port the system just handed out and took back is free: nothing
    // listens there.
    sf::TcpListener probe;
    probe.listen(sf::Socket::AnyPort, sf::IpAddress::LocalHost);
    const unsigned short port = probe.getLocalPort();
    probe.close();
    return "127.0.0.1:" + std::to_string(port);
}

SilentServer::SilentServer() {
    listener.listen(sf::Socket::AnyPort, sf::IpAddress::LocalHost);
}

std::string SilentServer::address() const {
    return "127.0.0.1:" + std::to_string(listener.getLocalPort());
}

HighscoreServer::HighscoreServer() {
    const std::string binary = serverBinary();
    if (binary.empty()) {
        return;
    }
    const std::string logPath = folder.file("server.log");
    std::vector<std::string> words = {binary, "--listen", "127.0.0.1:0", "--db",
                                      folder.file("scores.db")};
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    if (pid < 0) {
        return;
    }
    const std::string marker = "listening on 127.0.0.1:";
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(serverStartSeconds);
    while (std::chrono::steady_clock::now() < deadline) {
        const std::string log = slurpFile(logPath);
        const std::size_t at = log.find(marker);
        if (at != std::string::npos) {
            port = std::stoi(log.substr(at + marker.size()));
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

HighscoreServer::~HighscoreServer() {
    if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

void HighscoreServer::submit(const std::string& name, int mode, int levelId, float seconds) const {
    HighscoreClient(address()).submitScore(name, mode, levelId, encodeTime(seconds));
}

std::string settingsText(const std::map<std::string, std::string>& values) {
    std::string text = "Rollavortex settings\n\n";
    for (const auto& [key, value] : values) {
        text += key + "\t" + value + "\n";
    }
    return text;
}

int countPixels(const sf::Image& image, const sf::FloatRect& logical,
                const std::function<bool(sf::Color)>& test) {
    const sf::Vector2u size = image.getSize();
    const float sx = static_cast<float>(size.x) / 1280.0f;
    const float sy = static_cast<float>(size.y) / 1024.0f;
    const auto x0 = static_cast<unsigned>(logical.left * sx);
    const auto y0 = static_cast<unsigned>(logical.top * sy);
    const auto x1 = std::min(size.x, static_cast<unsigned>((logical.left + logical.width) * sx));
    const auto y1 = std::min(size.y, static_cast<unsigned>((logical.top + logical.height) * sy));
    int count = 0;
    for (unsigned y = y0; y < y1; ++y) {
        for (unsigned x = x0; x < x1; ++x) {
            count += test(image.getPixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

bool isWhitish(sf::Color c) {
    return c.r > 220 && c.g > 220 && c.b > 220;
}

bool isLighterThanSky(sf::Color c) {
    return c.r > 180 && c.g > 195 && c.b > 220;
}

bool isGreenish(sf::Color c) {
    return c.g > 180 && c.r < 100 && c.b < 100;
}

bool isReddish(sf::Color c) {
    return c.r > 180 && c.g < 80 && c.b < 80;
}
