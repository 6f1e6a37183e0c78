#pragma once

// What a fetch reports besides the body, read from the final response's header block.

#include <string>
#include <string_view>

#include "net/fetch.h"

namespace lecdl {

// Fills all three texts of `result` from the raw header block. With a caller-held jar the
// received cookies are merged into it (which also strips their spaces).
void FillFetchResult(std::string_view rawHeaders, std::string* jar, FetchResult& result);

}  // namespace lecdl
