#include "cli/terminal_form.h"

#include <map>
#include <memory>
#include <ostream>

#include "text/encoding.h"

namespace lecdl {

TerminalForm::TerminalForm(std::ostream& err) {
  auto shown = std::make_shared<std::map<Label, std::string>>();
  onLabel = [&err, shown](Label label, const std::string& text) {
    // The usage line repeats after every episode; it is the window's decoration, not progress.
    // A label rewritten with the same text (one search page, row after row) is shown once.
    if (label == Label::UsageLine || (*shown)[label] == text) return;
    (*shown)[label] = text;
    err << GbkToUtf8(text) << '\n';
  };
  onMessage = [&err](const ShownMessage& message) { err << GbkToUtf8(message.text) << '\n'; };
}

}  // namespace lecdl
