#pragma once

// A caller-held cookie jar: "name=value" entries joined by "; ".

#include <string>
#include <string_view>

namespace lecdl {

// The text before an entry's first "=", trimmed; an entry without "=" is its own name.
std::string CookieName(std::string_view entry);

// Folds the received cookies into the jar: received ones first, then the old ones whose name was
// not received; "=deleted" entries dropped, exact duplicates removed, every space removed. Both
// texts are rewritten in place (received loses its spaces); the new jar is also returned.
std::string MergeCookies(std::string& jar, std::string& received);

}  // namespace lecdl
