#pragma once

#include <string>
#include <string_view>

// What the highscore server said about a name the player wants to use.
enum class NameCheckOutcome {
    free,         // no table holds the name yet
    taken,        // some table already holds it
    refused,      // the server turned the request down (an unusable name)
    unreachable,  // no answer within the time-out
};

// Reads the body of the name check's answer: "OK..." is free; an empty body
// means no answer came; the server's "ERROR ..." is a refusal; anything else
// counts as taken.
NameCheckOutcome readNameCheckAnswer(std::string_view body);

// Asks the highscore server of the settings; blocks at most the client's
// time-out.
NameCheckOutcome checkNameOnServer(const std::string& name);
