#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "sim/level/LevelIdentity.hpp"

// The three requests the game makes to the highscore server, all HTTP/1.0 POSTs
// with a form body, and the limits both ends agree on. docs/protocol.md has the
// whole protocol.
namespace HighscoreProtocol {

inline constexpr std::string_view kNameCheckPath = "/games/Rollavortex/chk.php";
inline constexpr std::string_view kSubmitPath = "/games/Rollavortex/sbmt.php";
inline constexpr std::string_view kTablePath = "/games/Rollavortex/hsc.php";
// A finished run for the server to replay and keep with the time it proves
// ("OK verified", "OK queued" when it is stored to be replayed soon, or a
// status of 400 and up and "ERROR " with the reason), and the kept run of a
// table position (the run text; an empty body when there is none).
inline constexpr std::string_view kRunPath = "/games/Rollavortex/run.php";
inline constexpr std::string_view kRunFetchPath = "/games/Rollavortex/getrun.php";
inline constexpr std::string_view kRunVerified = "OK verified";
inline constexpr std::string_view kRunQueued = "OK queued";

// The server refuses longer bodies; the longest valid one is under 100 bytes.
inline constexpr std::size_t kMaxBodyBytes = 1024;
// A run submission carries the whole run, packed (RunTransport): half an hour
// at 240 frames a second of differing lengths fits many times over. Games
// before the packing sent the text itself, which still reads.
inline constexpr std::size_t kMaxRunBodyBytes = std::size_t{1} << 20;
// The most a packed run may inflate to: half an hour of the shortest frames a
// run can have, one line each.
inline constexpr std::size_t kMaxRunTextBytes = std::size_t{8} << 20;
inline constexpr std::size_t kMaxNameLength = 15;
// Times are accepted above 0 and below this many seconds.
inline constexpr float kMaxSeconds = 1e6f;

// A refused request's answer starts with "ERROR "; this one (status 500) means
// the server's database failed, whatever was asked.
inline constexpr std::string_view kRefusalPrefix = "ERROR ";
inline constexpr std::string_view kStorageFailure = "ERROR storage";
// The answer (status 404) of a server asked about a custom level it does not
// keep: the game shows "not on this server" where the table would be.
inline constexpr int kNotOnServerStatus = 404;
inline constexpr std::string_view kLevelNotOnServer = "ERROR level not on this server";
// Its reason, as a server refuses with it.
inline constexpr std::string_view kLevelNotOnServerReason =
    kLevelNotOnServer.substr(kRefusalPrefix.size());

// "name=" and the name.
std::string nameCheckBody(std::string_view name);
// In every body the level is its identity's text: a shipped level's id, or
// the 64 hex digits of the SHA-256 of a custom level's file.

// "name=", the name, "&mode=", the mode, "&level=", the level, "&score=", the
// score text.
std::string submissionBody(std::string_view name, int mode, const LevelIdentity& level,
                           std::string_view scoreText);
// "&mode=", the mode, "&level=", the level (the leading "&" is how the game
// has always sent it).
std::string tableQueryBody(int mode, const LevelIdentity& level);

// The submission's fields, then "&runz=" and the run text packed (RunTransport).
std::string runBody(std::string_view name, int mode, const LevelIdentity& level,
                    std::string_view scoreText, std::string_view runText);
// "mode=", the mode, "&level=", the level, "&position=", the table position
// (1: the record).
std::string runQueryBody(int mode, const LevelIdentity& level, int position);

// 1 to 15 characters, each a letter, a digit, ".", "," or a space: what the name
// entry lets a player type.
bool isValidPlayerName(std::string_view name);

// Mode 1 ("Race") has the levels 250 and 275, mode 2 ("Puzzle") 20000 and
// 20057.
bool isKnownLevel(int mode, int levelId);

}  // namespace HighscoreProtocol
