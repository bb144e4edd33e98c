#pragma once

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/System/Time.hpp>

#include <string>
#include <string_view>
#include <vector>

#include "game/FinishSequence.hpp"
#include "online/HighscoreTable.hpp"
#include "online/client/HighscoreClient.hpp"
#include "online/client/Outbox.hpp"
#include "online/client/TableRowView.hpp"
#include "sim/base/GameMode.hpp"

class GameWindow;
struct RecordedRun;
struct ScreenKeys;

// A finished run as the highscore server hears of it.
struct FinishedRun {
    std::string playerName;
    GameMode mode = raceMode;
    int levelId = 0;
    float seconds = 0.0f;                    // the race clock at the finish, penalties included
    const RecordedRun* recording = nullptr;  // null when the run was not recorded whole
};

// One row of the table on screen: the record it shows and whether that record
// carries the player's name.
struct ShownRecord {
    unsigned record = 0;
    bool own = false;

    bool operator==(const ShownRecord&) const = default;
};

// The online step after a finish, while the end phase rests at half darkness:
// the time goes to the highscore server, the level's table comes back and is
// shown until the player goes on. Each frame does one thing, so the two
// blocking steps (at most the client's time-out each) happen in two
// consecutive frames, each behind the wait message the frame before showed.
//
// The time and the run go through the outbox: kept on disk first, then sent
// with whatever still waited there, oldest first. What the server does not
// take now waits for the next sending, and the table says so ("Saved, sent
// when the server answers"); with nothing to show but that, it still waits
// for the player.
//
// The phase of the flow lives in the FinishSequence, because its fade reads
// it too; this class keeps the table, its rows and the wait messages. Only
// draw() needs a window.
class PostFinishTable {
  public:
    static constexpr unsigned maxRows = 18;
    // Rows above the player's own record when the table opens.
    static constexpr unsigned leadRows = 9;
    // Records one press of Up or Down moves the table by.
    static constexpr unsigned scrollRecords = 5;

    // `serverAddress` is "host" or "host:port"; every request ends within
    // `timeout`, answered or not.
    explicit PostFinishTable(
        std::string_view serverAddress,
        sf::Time timeout = sf::seconds(HighscoreClient::kDefaultTimeoutSeconds));

    // The wait messages, in the play screen's font.
    void loadLabels(const sf::Font& font);
    // Start of a level: no table, no rows.
    void reset();

    // One frame's work of the finish phase: send the time (submitting), fetch
    // the table (fetching), or scroll the table on screen (showingTable).
    // Runs only with online scores on (the caller checks).
    void update(const FinishedRun& run, FinishSequence& finish, bool& jumpRequested,
                ScreenKeys& keys);
    // Over the finished frame in the fixed view: the wait message of the
    // request the next frame makes, or the table's rows once fetched.
    void draw(GameWindow& window, FinishPhase phase) const;

    // A Space or Return press read in the first frame after a wait was made
    // while the request blocked the game, before the player could see what
    // came of it: it is dropped. Called once per play frame right after its
    // events are read, before the end phase looks at them.
    void dropPressesFromWait(bool& jumpRequested);

    // --- The parts of update() ---

    // Stores a new personal best with its run, then sends the time and the
    // recorded run through the outbox, after what waited there, all within
    // one time-out.
    void submit(const FinishedRun& run, FinishSequence& finish, bool& jumpRequested);
    // Fetches the level's table; a failed fetch gives an empty table.
    void fetch(const FinishedRun& run, FinishSequence& finish, bool& jumpRequested);
    // Takes a fetched table and opens it with the player's own record on the
    // tenth row when it is further down than that.
    void receiveTable(HighscoreTable fetched, const std::string& playerName, FinishSequence& finish,
                      bool& jumpRequested);
    // A table without a single record has nothing to show: the step is over
    // and the finish may fade out, unless a time waits to be sent, which the
    // player is told. True when it ended.
    bool endWithoutRecords(FinishSequence& finish) const;
    // Moves the table by the Up or Down press, if any, and consumes it.
    void scroll(ScreenKeys& keys, const std::string& playerName);

    // First record shown after Up or Down: five records, not above the first
    // record, and not so far down that fewer than nine rows stay filled.
    static unsigned scrolledUp(unsigned firstShown);
    static unsigned scrolledDown(unsigned firstShown, unsigned recordCount);
    // The records of the rows, from the table's first shown record on.
    static std::vector<ShownRecord> shownRecords(const HighscoreTable& table,
                                                 const std::string& playerName);

    // What tests look at.
    const HighscoreTable& scores() const { return table; }
    const std::vector<TableRowView>& shownRows() const { return rows; }
    const sf::Text& submittingMessage() const { return submittingLabel; }
    const sf::Text& loadingMessage() const { return loadingLabel; }
    const sf::Text& savedMessage() const { return savedLabel; }
    // A time or run of this or an earlier finish waits in the outbox.
    bool timeWaits() const { return waitingToSend; }

  private:
    // Lays the rows out again from the table's first shown record.
    void layOutRows(const std::string& playerName);

    HighscoreClient client;
    Outbox outbox;
    HighscoreTable table;
    std::vector<TableRowView> rows;
    const sf::Font* font = nullptr;
    sf::Text submittingLabel;
    sf::Text loadingLabel;
    sf::Text savedLabel;
    bool justWaited = false;
    bool waitingToSend = false;
};
