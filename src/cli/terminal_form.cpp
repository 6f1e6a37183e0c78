#include "cli/terminal_form.h"

#include <ostream>

#include "text/encoding.h"

namespace lecdl {

TerminalForm::TerminalForm(std::ostream& err) {
  onLabel = [&err](Label label, const std::string& text) {
    // The usage line repeats after every episode; it is the window's decoration, not progress.
    if (label == Label::UsageLine) return;
    err << GbkToUtf8(text) << '\n';
  };
  onMessage = [&err](const ShownMessage& message) { err << GbkToUtf8(message.text) << '\n'; };
}

}  // namespace lecdl
