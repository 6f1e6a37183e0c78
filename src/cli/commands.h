#pragma once

// The command line's commands over the core operations.

#include <iosfwd>
#include <optional>
#include <string>

#include "app/hosts.h"

namespace lecdl {

struct RangeOption {
  std::string first;
  std::string last;
};

// "A-B" split into the two range boxes; nullopt when it is not digits, "-", digits.
std::optional<RangeOption> ParseRange(const std::string& text);

int ListCommand(const Hosts& hosts, const std::string& url, const std::optional<RangeOption>& range,
                std::ostream& out, std::ostream& err);

int SearchCommand(const Hosts& hosts, const std::string& keyword, const std::string& field, std::ostream& out,
                  std::ostream& err);

}  // namespace lecdl
