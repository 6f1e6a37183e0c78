#pragma once

// The two remembered save directories: section PZXM of the settings file, key LJ for episode
// downloads (编辑框1) and LJ1 for series downloads (编辑框5). Values are GBK (GB18030 for a
// folder outside GBK, see path_text.h).

#include <filesystem>

#include "app/form.h"

namespace lecdl {

// The longest value read, in bytes; a longer one is cut (a 10,240-byte buffer with its zero).
inline constexpr size_t kMaxSettingBytes = 10'239;

// Fills both boxes from the file; a missing file, section or key gives an empty box. Creates
// nothing.
void ReadSettings(FormPort& form, const std::filesystem::path& settingsPath);

// "选择目录": the folder picker's choice goes into the box and the key; a cancelled picker
// clears both. A failed write is not reported; the box keeps the choice for this run.
void ChooseEpisodeDirectory(FormPort& form, const std::filesystem::path& settingsPath);
void ChooseSeriesDirectory(FormPort& form, const std::filesystem::path& settingsPath);

}  // namespace lecdl
