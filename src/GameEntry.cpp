#include "GameEntry.hpp"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <filesystem>

#include "app/platform/CommandLine.hpp"
#include "app/platform/GameWindow.hpp"
#include "app/platform/ProgramObjects.hpp"
#include "menu/IntroScreen.hpp"
#include "menu/MainMenu.hpp"
#include "sim/base/DataFolder.hpp"

namespace {

constexpr const char* windowTitle = "Rollavortex 1.0";

void openAudio() {
    SDL_Init(SDL_INIT_AUDIO);
    Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048);
    Mix_AllocateChannels(32);
}

void openWindow(GameWindow& window) {
    // Written straight back, so the file holds them all after the first run.
    const int width = settings().keep(Setting::screenWidth);
    const int height = settings().keep(Setting::screenHeight);
    const int depth = settings().keep(Setting::screenDepth);
    const int fullscreen = settings().keep(Setting::fullscreen);
    settings().set(Setting::version, Setting::version.fallback);

    std::uint32_t style = sf::Style::Titlebar | sf::Style::Close;
    if (fullscreen > 0) {
        style |= sf::Style::Fullscreen;
    }
    sf::ContextSettings context(24, 8, 0);
    const sf::VideoMode mode(static_cast<unsigned>(std::max(width, 1)),
                             static_cast<unsigned>(std::max(height, 1)),
                             static_cast<unsigned>(std::max(depth, 1)));
    if (!window.isOpen()) {
        window.open(mode, windowTitle, style, context);
    }
    window.setMouseCursorVisible(false);
    window.setFramerateLimit(60);
}

// Without its data folder the game still starts (no pictures, no sound) and
// every file it misses is reported; this line says why they are all missing.
void reportMissingDataFolder() {
    const DataFolderChoice data = findDataFolder();
    std::error_code error;
    if (std::filesystem::is_directory(data.folder, error)) {
        return;
    }
    std::fprintf(stderr,
                 "rollavortex: no data folder at %s (%s); ROLLAVORTEX_DATA can name the "
                 "folder holding font/, images/, levels/, music/ and sound/\n",
                 data.folder.c_str(), data.reason);
}

}  // namespace

void runGame(GameWindow& window, const std::string& replayFile) {
    openAudio();
    openWindow(window);
    {
        if (replayFile.empty()) {
            IntroScreen intro(window);
            intro.run();
        }
        window.setKeyRepeatEnabled(false);
        // Built even when the window was closed during the intro: its loop then
        // ends at once and shut-down goes on as usual.
        MainMenu menu(window);
        menu.run(replayFile);
        Mix_CloseAudio();
        SDL_Quit();
    }
}

int runProgram(int argc, char** argv) {
    const CommandLine line =
        CommandLine::read(std::span<const char* const>(argv + 1, argc > 1 ? argc - 1 : 0));
    if (!line.error.empty()) {
        std::fprintf(stderr, "rollavortex: %s\n%s", line.error.c_str(), commandLineUsage);
        return 2;
    }
    if (line.help) {
        std::fputs(commandLineUsage, stdout);
        return 0;
    }
    reportMissingDataFolder();
    ProgramObjects objects(Settings::filePath(), line.levelFolder.empty()
                                                     ? defaultCustomLevelFolder()
                                                     : line.levelFolder);
    {
        GameWindow window;
        runGame(window, line.replayFile);
    }
    // Only a normal end gets here: a crash leaves the previous file untouched.
    objects.settings.save();
    return 0;
}
