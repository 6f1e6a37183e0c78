#pragma once

// What a fetch sends, computed from its options before any connection is made.

#include <string>
#include <string_view>

#include "net/fetch.h"
#include "text/text.h"

namespace lecdl {

// DefaultUserAgent, unless the extra headers name a user agent (in any letter case).
std::string RequestAgent(std::string_view extraHeaders);

// The extra headers followed by the defaults they lack: Referer (the address itself), Accept,
// Accept-Language, Content-Type, and the caller's jar as Cookie. Lines joined by "\r\n".
std::string RequestHeaderText(const FetchRequest& request);

// The body of a POST: postBytes when not empty, else postText.
const std::string& RequestBody(const FetchRequest& request);

// The header text as separate lines, empty ones left out.
TextList RequestHeaderLines(std::string_view headerText);

}  // namespace lecdl
