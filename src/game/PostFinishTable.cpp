#include "game/PostFinishTable.hpp"

#include <SFML/System/Clock.hpp>

#include <algorithm>
#include <iostream>

#include "app/GameWindow.hpp"
#include "app/ScreenLook.hpp"
#include "app/ShadowedLabel.hpp"
#include "game/FinishSequence.hpp"
#include "game/PersonalBest.hpp"
#include "game/ScreenKeys.hpp"
#include "online/HighscoreProtocol.hpp"
#include "sim/run/RecordedRun.hpp"
#include "sim/run/RunText.hpp"
#include "sim/run/ScoreText.hpp"

namespace {

constexpr float waitLabelTop = 512.0f;
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
    placeLabel(notOnServerLabel, playFont, notOnServerText, waitLabelTop);
}

void PostFinishTable::reset() {
    table.clear();
    rows.clear();
    notOnServer = false;
    justWaited = false;
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
    client.submitScore(run.playerName, run.mode, run.level, encodeTime(run.seconds));
    submitRecording(run, client.timeLimit() - submitting.getElapsedTime());
    finish.phase = FinishPhase::fetching;
    jumpRequested = false;
    justWaited = true;
}

void PostFinishTable::submitRecording(const FinishedRun& run, sf::Time limit) const {
    if (run.recording == nullptr) {
        return;
    }
    // Behind the same wait message and within the same time-out; whatever the
    // server says, the player's finish stays as it is.
    if (limit <= sf::Time::Zero) {
        std::cerr << "rollavortex: no time left to send the run\n";
        return;
    }
    const std::string answer =
        client.submitRun(run.playerName, run.mode, run.level, encodeTime(run.seconds),
                         formatRun(*run.recording), limit);
    if (answer.rfind(HighscoreProtocol::kRunVerified, 0) != 0) {
        std::cerr << "rollavortex: the server did not keep the run: "
                  << (answer.empty() ? std::string("no answer") : answer.substr(0, 200)) << '\n';
    }
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
    if (table.recordCount() > 0 || notOnServer) {
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
