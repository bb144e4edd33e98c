#include "game/PostFinishTable.hpp"

#include <SFML/System/Clock.hpp>

#include <algorithm>
#include <utility>
#include <vector>

#include "app/look/ScreenLook.hpp"
#include "app/look/ShadowedLabel.hpp"
#include "app/platform/GameWindow.hpp"
#include "game/FinishSequence.hpp"
#include "game/PersonalBest.hpp"
#include "game/ScreenKeys.hpp"
#include "online/HighscoreProtocol.hpp"
#include "sim/run/RecordedRun.hpp"
#include "sim/run/RunText.hpp"
#include "sim/run/ScoreText.hpp"

namespace {

constexpr float waitLabelTop = 512.0f;
// Below the last of the 18 rows.
constexpr float savedLabelTop = 880.0f;
constexpr float firstRowTop = 100.0f;
constexpr float rowGap = 42.0f;  // logical units from one row's top to the next
const sf::Color ownRowColour = sf::Color::Green;
const sf::Color rowColour = sf::Color::White;

}  // namespace

PostFinishTable::PostFinishTable(std::string_view serverAddress, sf::Time timeout)
    : client(serverAddress, timeout) {}

void PostFinishTable::loadLabels(const sf::Font& playFont) {
    font = &playFont;
    placeLabel(submittingLabel, playFont, "Submitting scores, please wait...", waitLabelTop);
    placeLabel(loadingLabel, playFont, "Loading, please wait...", waitLabelTop);
    placeLabel(savedLabel, playFont, "Saved, sent when the server answers", savedLabelTop);
    placeLabel(notOnServerLabel, playFont, notOnServerText, waitLabelTop);
}

void PostFinishTable::reset() {
    table.clear();
    rows.clear();
    notOnServer = false;
    justWaited = false;
    waitingToSend = false;
}

void PostFinishTable::update(const FinishedRun& run, FinishSequence& finish, bool& jumpRequested,
                             ScreenKeys& keys) {
    switch (finish.phase) {
        case FinishPhase::submitting:
            submit(run, finish, jumpRequested);
            return;
        case FinishPhase::fetching:
            fetch(run, finish, jumpRequested);
            return;
        case FinishPhase::showingTable:
            if (!endWithoutRecords(finish)) {
                scroll(keys, run.playerName);
            }
            return;
        default:
            return;
    }
}

void PostFinishTable::draw(GameWindow& window, FinishPhase phase) const {
    switch (phase) {
        case FinishPhase::submitting:
            drawShadowedLabel(window, submittingLabel);
            return;
        case FinishPhase::fetching:
            drawShadowedLabel(window, loadingLabel);
            return;
        default:
            if (notOnServer) {
                drawShadowedLabel(window, notOnServerLabel);
            }
            for (const TableRowView& row : rows) {
                row.draw(window);
            }
            if (waitingToSend) {
                drawShadowedLabel(window, savedLabel);
            }
            return;
    }
}

void PostFinishTable::dropPressesFromWait(bool& jumpRequested) {
    if (justWaited) {
        jumpRequested = false;
        justWaited = false;
    }
}

void PostFinishTable::submit(const FinishedRun& run, FinishSequence& finish, bool& jumpRequested) {
    // Stored first: the request may block for its whole time-out, and the
    // best must not depend on the server.
    if (finish.newPersonalBest) {
        storePersonalBest(run.mode, run.level, run.seconds, run.recording);
    }
    const sf::Clock submitting;
    const std::string scoreText = encodeTime(run.seconds);
    std::vector<std::pair<std::string_view, std::string>> requests = {
        {HighscoreProtocol::kSubmitPath,
         HighscoreProtocol::submissionBody(run.playerName, run.mode, run.level, scoreText)}};
    if (run.recording != nullptr) {
        requests.emplace_back(HighscoreProtocol::kRunPath,
                              HighscoreProtocol::runBody(run.playerName, run.mode, run.level,
                                                         scoreText, formatRun(*run.recording)));
    }
    // What cannot be kept (no folder for the outbox) is at least sent once.
    std::vector<std::pair<std::string_view, std::string>> unkept;
    for (auto& request : requests) {
        if (!outbox.keep(request.first, request.second)) {
            unkept.push_back(std::move(request));
        }
    }
    waitingToSend = outbox.sendWaiting(client, client.timeLimit()).waiting > 0;
    for (const auto& [path, body] : unkept) {
        client.post(path, body, client.timeLimit() - submitting.getElapsedTime());
    }
    finish.phase = FinishPhase::fetching;
    jumpRequested = false;
    justWaited = true;
}

void PostFinishTable::fetch(const FinishedRun& run, FinishSequence& finish, bool& jumpRequested) {
    HighscoreTable fetched;
    const TableAnswer answer = client.fetchTable(run.mode, run.level, fetched);
    receiveTable(std::move(fetched), answer, run.playerName, finish, jumpRequested);
}

void PostFinishTable::receiveTable(HighscoreTable fetched, TableAnswer answer,
                                   const std::string& playerName, FinishSequence& finish,
                                   bool& jumpRequested) {
    table = std::move(fetched);
    notOnServer = answer == TableAnswer::notOnServer;
    table.findOwnRecord(playerName, leadRows);
    layOutRows(playerName);
    finish.phase = FinishPhase::showingTable;
    jumpRequested = false;
    justWaited = true;
}

bool PostFinishTable::endWithoutRecords(FinishSequence& finish) const {
    if (table.recordCount() > 0 || waitingToSend || notOnServer) {
        return false;
    }
    finish.phase = FinishPhase::leaving;
    return true;
}

void PostFinishTable::scroll(ScreenKeys& keys, const std::string& playerName) {
    const unsigned before = table.firstShown;
    if (keys.upPressed) {
        table.firstShown = scrolledUp(table.firstShown);
        keys.upPressed = false;
    }
    if (keys.downPressed) {
        table.firstShown = scrolledDown(table.firstShown, table.recordCount());
        keys.downPressed = false;
    }
    if (table.firstShown != before) {
        layOutRows(playerName);
    }
}

unsigned PostFinishTable::scrolledUp(unsigned firstShown) {
    return firstShown > scrollRecords ? firstShown - scrollRecords : 0;
}

unsigned PostFinishTable::scrolledDown(unsigned firstShown, unsigned recordCount) {
    // The lowest position shows the last record on the ninth row.
    const unsigned lowest = recordCount > leadRows ? recordCount - leadRows : 0;
    return std::min(firstShown + scrollRecords, lowest);
}

std::vector<ShownRecord> PostFinishTable::shownRecords(const HighscoreTable& table,
                                                       const std::string& playerName) {
    std::vector<ShownRecord> shown;
    const unsigned count = table.recordCount();
    for (unsigned row = 0; row < maxRows; ++row) {
        const unsigned record = table.firstShown + row;
        if (record >= count) {
            break;
        }
        shown.push_back({record, table.field(record, 2) == playerName});
    }
    return shown;
}

void PostFinishTable::layOutRows(const std::string& playerName) {
    rows.clear();
    if (font == nullptr) {
        return;
    }
    for (const ShownRecord& shown : shownRecords(table, playerName)) {
        const float top =
            firstRowTop + rowGap * static_cast<float>(shown.record - table.firstShown);
        rows.emplace_back(table, shown.record, *font, top, shown.own ? ownRowColour : rowColour);
    }
}
