#pragma once

// Folder paths as the window's texts hold them. A picked folder may hold characters outside GBK;
// its text is GB18030, which spells every GBK character with the same bytes as GBK and every
// other character with four bytes of its own, so no picked folder is lost on its way through the
// edit box and the settings file.

#include <filesystem>
#include <string>
#include <string_view>

namespace lecdl {

// A native path (UTF-8 on Linux) as text. Bytes that are no UTF-8 are replaced.
std::string PathText(std::string_view nativePath);

// The native path of such a text (and of any GBK text: GBK spells alike in GB18030).
std::filesystem::path TextPath(std::string_view text);

}  // namespace lecdl
