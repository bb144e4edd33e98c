#pragma once

#include <string>

// --import-sqlite: copies the SQLite board at `sqlitePath` into the empty
// PostgreSQL board at `targetUri`, keeping times, days and the order of
// arrival, and says what happened on standard output or error. The source is
// only read. A target that already holds records is refused and left as it
// is, so running the copy twice cannot double a board. The exit status: 0
// when copied, 1 otherwise.
int importSqliteBoard(const std::string& sqlitePath, const std::string& targetUri);
