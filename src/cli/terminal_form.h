#pragma once

// The in-memory form as the command line uses it: what the operations write to labels and
// message boxes goes to the terminal's error stream, converted to UTF-8.

#include <iosfwd>

#include "app/memory_form.h"

namespace lecdl {

class TerminalForm : public MemoryForm {
 public:
  explicit TerminalForm(std::ostream& err);
};

}  // namespace lecdl
