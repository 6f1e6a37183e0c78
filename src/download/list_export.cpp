#include "download/list_export.h"

#include <filesystem>

#include "app/file_io.h"
#include "app/hosts.h"
#include "text/encoding.h"

namespace lecdl {

namespace {

enum EpisodeColumn { kTitle = 0, kAddress = 1 };

void ExportText(FormPort& form, std::string (*build)(FormPort&)) {
  SaveDialogRequest request;
  request.title = Utf8ToGbk("请输入保存的文件名");
  request.fileName = Utf8ToGbk("列表.txt");
  request.filter = Utf8ToGbk("TXT文档(*.txt)|*.txt");
  request.defaultExtension = "*.txt";
  request.initialDirectory = DefaultSettingsPath().parent_path().string();
  const std::optional<std::string> file = form.AskSaveFile(request);
  if (!file) return;
  WriteWholeFile(std::filesystem::path(*file), build(form));
  // The message stands whether or not the write succeeded, as users of the list expect it.
  form.ShowMessage(Utf8ToGbk("导出完成！"), Utf8ToGbk("提示"), MessageButtons::Ok);
}

}  // namespace

std::string TitleListText(FormPort& form) {
  std::string text;
  const int count = form.RowCount(ListControl::Episodes);
  for (int row = 0; row < count; ++row) {
    text += form.Cell(ListControl::Episodes, row, kTitle) + "----" + form.Cell(ListControl::Episodes, row, kAddress) +
            "\r\n";
  }
  return text;
}

std::string AddressListText(FormPort& form) {
  std::string text;
  const int count = form.RowCount(ListControl::Episodes);
  for (int row = 0; row < count; ++row) text += form.Cell(ListControl::Episodes, row, kAddress) + "\r\n";
  return text;
}

void ExportList(FormPort& form) { ExportText(form, TitleListText); }
void ExportAddresses(FormPort& form) { ExportText(form, AddressListText); }

void CopyAddress(FormPort& form) {
  const int row = form.CurrentRow(ListControl::Episodes);
  if (row < 0) return;  // no row selected: nothing to copy
  if (!form.SetClipboard(form.Cell(ListControl::Episodes, row, kAddress))) return;
  form.ShowMessage(
      Utf8ToGbk("下载地址已经复制到剪贴板 Ctrl+V 使用，请用下载工具下载，下载完成后修改拓展名为 flv"),
      Utf8ToGbk("提示"), MessageButtons::Ok);
}

}  // namespace lecdl
