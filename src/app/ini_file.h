#pragma once

// A settings file in INI form that is edited in place: writing one key leaves every other line,
// comment and line end as it was. Section and key names compare ignoring ASCII letter case;
// values are kept as raw bytes (GBK).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lecdl {

class IniFile {
 public:
  IniFile() = default;
  explicit IniFile(std::string content);

  // A missing or unreadable file reads as an empty one.
  static IniFile Load(const std::filesystem::path& path);
  // Writes the whole file; a failed write leaves the old file as it was.
  bool Save(const std::filesystem::path& path) const;

  std::optional<std::string> Value(std::string_view section, std::string_view key) const;
  void SetValue(std::string_view section, std::string_view key, std::string_view value);

  const std::string& Content() const { return content_; }

 private:
  struct Line {
    size_t begin;  // offset of the line in content_
    size_t end;    // offset of its line end (or of the end of the content)
  };
  std::vector<Line> Lines() const;
  std::string LineEnd() const;

  std::string content_;
};

}  // namespace lecdl
