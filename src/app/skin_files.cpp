#include "app/skin_files.h"

#include <system_error>

#include "app/file_io.h"

namespace lecdl {

namespace {

constexpr std::string_view kStyleSheet = R"css(/* lecdl skin 1 */
QWidget {
  background-color: #f4f6f8;
  color: #1f2a36;
  font-size: 12px;
}
QPushButton {
  background-color: #2f6fa8;
  color: #ffffff;
  border: 1px solid #245a8a;
  border-radius: 3px;
  padding: 3px 10px;
}
QPushButton:hover { background-color: #3a82c4; }
QPushButton:pressed { background-color: #245a8a; }
QPushButton:disabled { background-color: #b7c3cf; border-color: #a5b2bf; }
QLineEdit, QTextEdit, QPlainTextEdit {
  background-color: #ffffff;
  border: 1px solid #b7c3cf;
  border-radius: 2px;
  padding: 1px 3px;
}
QLineEdit:focus, QTextEdit:focus { border-color: #2f6fa8; }
QGroupBox {
  border: 1px solid #c8d2dc;
  border-radius: 4px;
  margin-top: 8px;
}
QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 3px; color: #2f6fa8; }
QTreeView, QTableView, QListView {
  background-color: #ffffff;
  alternate-background-color: #eef2f6;
  selection-background-color: #2f6fa8;
  selection-color: #ffffff;
  gridline-color: #d5dde5;
}
QHeaderView::section {
  background-color: #e3e9ef;
  border: 0;
  border-right: 1px solid #c8d2dc;
  padding: 2px 4px;
}
QStatusBar { background-color: #e3e9ef; color: #3d4a57; }
QMenu { background-color: #ffffff; border: 1px solid #b7c3cf; }
QMenu::item:selected { background-color: #2f6fa8; color: #ffffff; }
)css";

constexpr std::string_view kLibrary =
    "LECDL-SKIN 1\n"
    "name=lecdl\n"
    "accent=#2f6fa8\n"
    "background=#f4f6f8\n"
    "text=#1f2a36\n"
    "font=WenQuanYi Micro Hei\n"
    "stylesheet=Skin/1.she\n";

}  // namespace

std::string_view SkinStyleSheet() { return kStyleSheet; }
std::string_view SkinLibraryBytes() { return kLibrary; }

void PrepareSkinFiles(const std::filesystem::path& workDir, bool rewriteSkinFile) {
  std::error_code error;
  const auto folder = workDir / kSkinFolder;
  const auto library = workDir / kSkinLibraryFile;
  const auto skin = workDir / kSkinFile;
  if (!std::filesystem::exists(folder, error)) std::filesystem::create_directory(folder, error);
  if (!std::filesystem::exists(library, error) || !std::filesystem::exists(skin, error)) {
    WriteWholeFile(library, kLibrary);
    WriteWholeFile(skin, kStyleSheet);
  }
  if (rewriteSkinFile) WriteWholeFile(skin, kStyleSheet);
}

}  // namespace lecdl
