#include "app/ini_file.h"

#include "app/file_io.h"

#include <fstream>
#include <sstream>

namespace lecdl {

namespace {

std::string_view Trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// "[name]" gives name; any other line gives nullopt.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  const auto close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

bool IsKeyLine(std::string_view line, std::string_view key, std::string_view* value) {
  const auto eq = line.find('=');
  if (eq == std::string_view::npos || SectionName(line)) return false;
  if (!SameName(Trim(line.substr(0, eq)), key)) return false;
  if (value != nullptr) *value = Trim(line.substr(eq + 1));
  return true;
}

}  // namespace

IniFile::IniFile(std::string content) : content_(std::move(content)) {}

IniFile IniFile::Load(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return IniFile();
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return IniFile(bytes.str());
}

bool IniFile::Save(const std::filesystem::path& path) const { return WriteWholeFile(path, content_); }

std::vector<IniFile::Line> IniFile::Lines() const {
  std::vector<Line> lines;
  size_t begin = 0;
  while (begin < content_.size()) {
    size_t end = content_.find('\n', begin);
    if (end == std::string::npos) end = content_.size();
    const size_t textEnd = (end > begin && content_[end - 1] == '\r') ? end - 1 : end;
    lines.push_back({begin, textEnd});
    begin = end + 1;
  }
  return lines;
}

std::string IniFile::LineEnd() const {
  const auto lf = content_.find('\n');
  return (lf == std::string::npos || (lf > 0 && content_[lf - 1] == '\r')) ? "\r\n" : "\n";
}

std::optional<std::string> IniFile::Value(std::string_view section, std::string_view key) const {
  bool inSection = false;
  for (const Line& line : Lines()) {
    const std::string_view text(content_.data() + line.begin, line.end - line.begin);
    if (const auto name = SectionName(text)) {
      inSection = SameName(*name, section);
      continue;
    }
    std::string_view value;
    if (inSection && IsKeyLine(text, key, &value)) return std::string(value);
  }
  return std::nullopt;
}

void IniFile::SetValue(std::string_view section, std::string_view key, std::string_view value) {
  const std::string newline = LineEnd();
  const std::string entry = std::string(key) + "=" + std::string(value);
  bool inSection = false;
  std::optional<size_t> insertAt;  // after the last non-blank line of the section
  for (const Line& line : Lines()) {
    const std::string_view text(content_.data() + line.begin, line.end - line.begin);
    if (const auto name = SectionName(text)) {
      if (inSection) break;
      inSection = SameName(*name, section);
      if (inSection) insertAt = line.end;
      continue;
    }
    if (!inSection) continue;
    if (IsKeyLine(text, key, nullptr)) {
      content_.replace(line.begin, line.end - line.begin, entry);
      return;
    }
    if (!Trim(text).empty()) insertAt = line.end;
  }
  if (insertAt) {
    content_.insert(*insertAt, newline + entry);
    return;
  }
  if (!content_.empty() && content_.back() != '\n') content_ += newline;
  content_ += "[" + std::string(section) + "]" + newline + entry + newline;
}

}  // namespace lecdl
