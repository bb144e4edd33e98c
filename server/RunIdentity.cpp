#include "RunIdentity.hpp"

#include "ServerLog.hpp"
#include "sim/base/Sha256.hpp"
#include "sim/run/RunVerification.hpp"

bool giveOldRunsIdentities(ScoreStore& store) {
    const auto runs = store.runsWithoutIdentity();
    if (!runs) {
        logLine("cannot read the verified runs: " + store.lastError());
        return false;
    }
    std::size_t given = 0;
    for (BoardRun run : *runs) {
        const RunClaim claim{static_cast<GameMode>(run.mode), run.levelId,
                             static_cast<float>(run.seconds)};
        // The level file plays no part in the canonical text.
        const RunCheck reading(run.run, claim, "");
        const std::string& canonical = reading.verdict().canonicalRun;
        if (canonical.empty()) {
            continue;
        }
        run.sha256 = sha256Hex(canonical);
        if (!store.setRunIdentity(run)) {
            logLine("cannot note a verified run's identity: " + store.lastError());
            return false;
        }
        ++given;
    }
    if (given > 0) {
        logLine("gave " + std::to_string(given) + " verified runs from before identities theirs");
    }
    return true;
}
