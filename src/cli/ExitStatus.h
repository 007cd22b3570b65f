#pragma once

namespace zelkor {

// Exit statuses of zelkor-cli, for scripts that call it.
constexpr int ExitSuccess = 0;          // a series was played (or help or version shown)
constexpr int ExitPredictionFailed = 1; // refused inputs, an error, or output not written
constexpr int ExitUsageError = 2;       // the command line could not be understood
constexpr int ExitPartlyDone = 3;       // import-roster --all wrote some teams and skipped others

} // namespace zelkor
