#pragma once

// The skin files in the working directory: the folder "Skin", the skin library "SkinH_EL.dll"
// and the skin "Skin/1.she". Both files carry our own bytes:
// - the skin (SkinStyleSheet) is a Qt style sheet, UTF-8, that the window applies as it is;
// - the library (SkinLibraryBytes) is a small bundle of ours: the line "LECDL-SKIN 1", then
//   "name=value" lines with the skin's colours and font, each ended by "\n". The window may read
//   them or only check the first line.

#include <filesystem>
#include <string_view>

namespace lecdl {

inline constexpr std::string_view kSkinFolder = "Skin";
inline constexpr std::string_view kSkinLibraryFile = "SkinH_EL.dll";
inline constexpr std::string_view kSkinFile = "Skin/1.she";

std::string_view SkinStyleSheet();
std::string_view SkinLibraryBytes();

// 1. Creates the folder "Skin" when missing.
// 2. Unless both files exist, writes the library, then the skin, replacing what is there.
// 3. With rewriteSkinFile (the splash's call), writes the skin once more.
// Failed writes are ignored: start-up goes on without a skin.
void PrepareSkinFiles(const std::filesystem::path& workDir, bool rewriteSkinFile);

}  // namespace lecdl
