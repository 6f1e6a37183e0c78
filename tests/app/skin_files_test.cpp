#include "app/skin_files.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace lecdl {
namespace {

using test::ReadAll;
using test::TempDir;
using test::WriteAll;

TEST(SkinFiles, EmptyFolderGetsFolderAndBothFiles) {
  TempDir dir;
  PrepareSkinFiles(dir.Path(), true);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "Skin"));
  EXPECT_EQ(ReadAll(dir / "SkinH_EL.dll"), SkinLibraryBytes());
  EXPECT_EQ(ReadAll(dir / "Skin" / "1.she"), SkinStyleSheet());
  EXPECT_TRUE(SkinLibraryBytes().starts_with("LECDL-SKIN 1\n"));
  EXPECT_NE(SkinStyleSheet().find("QPushButton"), std::string_view::npos);
}

TEST(SkinFiles, LibraryOnlyWhenAFileIsMissingSkinWhenAskedToo) {
  struct Case {
    bool library, skin, rewrite;
    bool libraryWritten, skinWritten;
  };
  const Case cases[] = {
      {true, true, true, false, true},    // the splash: skin file renewed, library kept
      {true, true, false, false, false},  // the call before the skin is attached
      {false, true, true, true, true},    // only the skin there: both written
      {false, true, false, true, true},
      {true, false, false, true, true},  // only the library there
  };
  for (const Case& c : cases) {
    TempDir dir;
    std::filesystem::create_directory(dir / "Skin");
    if (c.library) WriteAll(dir / "SkinH_EL.dll", "old library");
    if (c.skin) WriteAll(dir / "Skin" / "1.she", "old skin");
    PrepareSkinFiles(dir.Path(), c.rewrite);
    const std::string trace = std::to_string(c.library) + std::to_string(c.skin) + std::to_string(c.rewrite);
    EXPECT_EQ(ReadAll(dir / "SkinH_EL.dll"), c.libraryWritten ? SkinLibraryBytes() : "old library") << trace;
    EXPECT_EQ(ReadAll(dir / "Skin" / "1.she"), c.skinWritten ? SkinStyleSheet() : "old skin") << trace;
  }
}

TEST(SkinFiles, StartUpSequenceWithOnlyTheSkinFilePresent) {
  TempDir dir;
  std::filesystem::create_directory(dir / "Skin");
  WriteAll(dir / "Skin" / "1.she", "old skin");
  PrepareSkinFiles(dir.Path(), true);  // the splash writes both
  EXPECT_EQ(ReadAll(dir / "SkinH_EL.dll"), SkinLibraryBytes());
  WriteAll(dir / "Skin" / "1.she", "touched");
  PrepareSkinFiles(dir.Path(), false);  // the second call writes nothing
  EXPECT_EQ(ReadAll(dir / "Skin" / "1.she"), "touched");
  EXPECT_EQ(ReadAll(dir / "SkinH_EL.dll"), SkinLibraryBytes());
}

TEST(SkinFiles, UnwritableFolderIsNoError) {
  TempDir dir;
  WriteAll(dir / "Skin", "a file where the folder should be");
  PrepareSkinFiles(dir.Path(), true);  // must not throw
  EXPECT_EQ(ReadAll(dir / "Skin"), "a file where the folder should be");
}

}  // namespace
}  // namespace lecdl
