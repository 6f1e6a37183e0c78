#include "app/settings.h"

#include "app/ini_file.h"
#include "app/path_text.h"
#include "text/encoding.h"

namespace lecdl {

namespace {

constexpr const char* kSection = "PZXM";
constexpr const char* kEpisodeKey = "LJ";
constexpr const char* kSeriesKey = "LJ1";

std::string ReadValue(const IniFile& ini, const char* key) {
  std::string value = ini.Value(kSection, key).value_or("");
  if (value.size() > kMaxSettingBytes) value.resize(kMaxSettingBytes);
  return value;
}

void ChooseDirectory(FormPort& form, const std::filesystem::path& settingsPath, TextBox box, const char* key) {
  static const std::string kTitle = Utf8ToGbk("选择要保存到的文件夹");
  const std::optional<std::string> folder = form.PickFolder(kTitle);
  form.SetText(box, folder ? PathText(*folder) : std::string());
  // The key takes what the box holds now, as the box is what the downloads read.
  IniFile ini = IniFile::Load(settingsPath);
  ini.SetValue(kSection, key, form.Text(box));
  ini.Save(settingsPath);
}

}  // namespace

void ReadSettings(FormPort& form, const std::filesystem::path& settingsPath) {
  const IniFile ini = IniFile::Load(settingsPath);
  form.SetText(TextBox::EpisodeDirectory, ReadValue(ini, kEpisodeKey));
  form.SetText(TextBox::SeriesDirectory, ReadValue(ini, kSeriesKey));
}

void ChooseEpisodeDirectory(FormPort& form, const std::filesystem::path& settingsPath) {
  ChooseDirectory(form, settingsPath, TextBox::EpisodeDirectory, kEpisodeKey);
}

void ChooseSeriesDirectory(FormPort& form, const std::filesystem::path& settingsPath) {
  ChooseDirectory(form, settingsPath, TextBox::SeriesDirectory, kSeriesKey);
}

}  // namespace lecdl
