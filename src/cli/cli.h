#pragma once

// The lecdl command line, runnable in-process: arguments in, exit status out; records on `out`
// (UTF-8, tab-separated), progress and messages on `err`.

#include <iosfwd>

namespace lecdl {

inline constexpr int kExitOk = 0;
inline constexpr int kExitIncomplete = 1;  // some episode or series could not be fetched
inline constexpr int kExitBadInput = 2;    // bad usage or bad input; nothing written

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace lecdl
