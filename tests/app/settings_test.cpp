#include "app/settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/ini_file.h"
#include "app/memory_form.h"
#include "app/path_text.h"
#include "support/temp_dir.h"
#include "text/encoding.h"

namespace lecdl {
namespace {

using test::ReadAll;
using test::TempDir;
using test::WriteAll;

TEST(Settings, ReadFillsBothBoxesAndAbsentGivesEmpty) {
  struct Case {
    std::optional<std::string> file;
    std::string episode, series;
  };
  const std::string video = "D:\\\xCA\xD3\xC6\xB5";  // D:\视频 in GBK
  const Case cases[] = {
      {std::nullopt, "", ""},
      {"[other]\r\nLJ=x\r\n", "", ""},
      {"[PZXM]\r\nLJ=" + video + "\r\n", video, ""},
      {"; c\n[pzxm]\nLJ1=C:\\\nlj=/srv/a b\n", "/srv/a b", "C:\\"},
      {"[PZXM]\r\nLJ=" + std::string(20'000, 'a') + "\r\n", std::string(kMaxSettingBytes, 'a'), ""},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const auto path = dir / "ini.ini";
    if (c.file) WriteAll(path, *c.file);
    MemoryForm form;
    form.SetText(TextBox::EpisodeDirectory, "stale");
    form.SetText(TextBox::SeriesDirectory, "stale");
    ReadSettings(form, path);
    EXPECT_EQ(form.Text(TextBox::EpisodeDirectory), c.episode) << c.file.value_or("(none)");
    EXPECT_EQ(form.Text(TextBox::SeriesDirectory), c.series) << c.file.value_or("(none)");
    EXPECT_EQ(std::filesystem::exists(path), c.file.has_value()) << "reading creates no file";
  }
}

struct Chooser {
  void (*choose)(FormPort&, const std::filesystem::path&);
  TextBox box;
  const char* key;
  TextBox otherBox;
};
const Chooser kChoosers[] = {
    {&ChooseEpisodeDirectory, TextBox::EpisodeDirectory, "LJ", TextBox::SeriesDirectory},
    {&ChooseSeriesDirectory, TextBox::SeriesDirectory, "LJ1", TextBox::EpisodeDirectory},
};

TEST(Settings, ChosenFolderGoesToBoxAndKeyKeepingOtherLinesAndSurvivesReload) {
  for (const Chooser& chooser : kChoosers) {
    TempDir dir;
    const auto path = dir / "ini.ini";
    const std::string before = "; mine\r\n[PZXM]\r\nLJ=old\r\nLJ1=old1\r\n\r\n[HOSTS]\r\nsite=a:1\r\n";
    WriteAll(path, before);
    MemoryForm form;
    form.folderAnswer = "/home/u/\xE8\xA7\x86\xE9\xA2\x91";  // /home/u/视频, native UTF-8
    chooser.choose(form, path);

    const std::string gbk = "/home/u/\xCA\xD3\xC6\xB5";
    EXPECT_EQ(form.Text(chooser.box), gbk);
    ASSERT_EQ(form.folderPickerTitles.size(), 1u);
    EXPECT_EQ(form.folderPickerTitles[0], Utf8ToGbk("选择要保存到的文件夹"));
    IniFile expected(before);
    expected.SetValue("PZXM", chooser.key, gbk);
    EXPECT_EQ(ReadAll(path), expected.Content()) << "only the one key changes";
    EXPECT_NE(ReadAll(path).find(std::string(chooser.key) + "=" + gbk + "\r\n"), std::string::npos);

    MemoryForm restarted;
    ReadSettings(restarted, path);
    EXPECT_EQ(restarted.Text(chooser.box), gbk);
    EXPECT_EQ(restarted.Text(chooser.otherBox), chooser.box == TextBox::EpisodeDirectory ? "old1" : "old");
  }
}

TEST(Settings, CancelledPickerClearsBoxAndKey) {
  for (const Chooser& chooser : kChoosers) {
    for (const std::optional<std::string>& answer : {std::optional<std::string>(), std::optional<std::string>("")}) {
      TempDir dir;
      const auto path = dir / "ini.ini";
      MemoryForm form;
      form.folderAnswer = "/data";
      chooser.choose(form, path);  // also creates file and section
      EXPECT_EQ(IniFile::Load(path).Value("PZXM", chooser.key), "/data");

      form.folderAnswer = answer;
      chooser.choose(form, path);
      EXPECT_EQ(form.Text(chooser.box), "");
      EXPECT_EQ(IniFile::Load(path).Value("PZXM", chooser.key), "");

      MemoryForm restarted;
      restarted.SetText(chooser.box, "stale");
      ReadSettings(restarted, path);
      EXPECT_EQ(restarted.Text(chooser.box), "");
    }
  }
}

TEST(Settings, FolderOutsideGbkSurvivesBoxFileAndReload) {
  TempDir dir;
  const auto path = dir / "ini.ini";
  // "课程😀" and a Hangul syllable: the first is GBK, the others are not.
  const std::string native = (dir.Path() / "\xE8\xAF\xBE\xE7\xA8\x8B\xF0\x9F\x98\x80\xED\x95\x9C").string();
  MemoryForm form;
  form.folderAnswer = native;
  ChooseEpisodeDirectory(form, path);
  EXPECT_EQ(TextPath(form.Text(TextBox::EpisodeDirectory)), std::filesystem::path(native));
  EXPECT_EQ(form.Text(TextBox::EpisodeDirectory).find('?'), std::string::npos);

  MemoryForm restarted;
  ReadSettings(restarted, path);
  EXPECT_EQ(TextPath(restarted.Text(TextBox::EpisodeDirectory)), std::filesystem::path(native));
}

TEST(Settings, FailedWriteKeepsTheChoiceInTheBox) {
  TempDir dir;
  const auto path = dir / "no-such-folder" / "ini.ini";
  MemoryForm form;
  form.folderAnswer = "/data";
  ChooseSeriesDirectory(form, path);
  EXPECT_EQ(form.Text(TextBox::SeriesDirectory), "/data");
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace lecdl
