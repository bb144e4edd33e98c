#pragma once

#include <string>
#include <string_view>

// What the highscore server said about a name the player wants to use.
enum class NameCheckOutcome {
    free,       // no table holds the name yet
    taken,      // some table already holds it
    refused,    // the server turned the request down (an unusable name)
    unchecked,  // no answer within the time-out, or the server's database failed
};

// Reads the body of the name check's answer: "OK..." is free; an empty body
// (no answer) or "ERROR storage" leaves the name unchecked; any other
// "ERROR ..." is a refusal of the name; anything else counts as taken.
NameCheckOutcome readNameCheckAnswer(std::string_view body);

// Asks the highscore server of the settings; blocks at most the client's
// time-out.
NameCheckOutcome checkNameOnServer(const std::string& name);
