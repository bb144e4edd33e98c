#include "menu/NameCheck.hpp"

#include "app/platform/ProgramObjects.hpp"
#include "online/HighscoreProtocol.hpp"
#include "online/client/HighscoreClient.hpp"

NameCheckOutcome readNameCheckAnswer(std::string_view body) {
    if (nameCheckAnswerSaysFree(body)) {
        return NameCheckOutcome::free;
    }
    if (body.empty() || body.starts_with(HighscoreProtocol::kStorageFailure)) {
        return NameCheckOutcome::unchecked;
    }
    if (body.starts_with(HighscoreProtocol::kRefusalPrefix)) {
        return NameCheckOutcome::refused;
    }
    return NameCheckOutcome::taken;
}

NameCheckOutcome checkNameOnServer(const std::string& name) {
    const HighscoreClient client(settings().get(Setting::highscoreServer));
    return readNameCheckAnswer(
        client.post(HighscoreProtocol::kNameCheckPath, HighscoreProtocol::nameCheckBody(name)));
}
