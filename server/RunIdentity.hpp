#pragma once

#include <string>

#include "ScoreStore.hpp"

// Verified runs from before runs had identities get theirs: each is read and
// written again as this server writes runs (RunVerdict::canonicalRun), and
// the SHA-256 of that is noted as its identity, so that a copy of one cannot
// be verified under another name either. Runs that no longer read are left
// as they are. Says in the log what it did; false when the store failed.
bool giveOldRunsIdentities(ScoreStore& store);
