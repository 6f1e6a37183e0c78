#pragma once

// The episode list saved for other download tools, and one address put on the clipboard.

#include <string>

#include "app/form.h"

namespace lecdl {

// Every row as title + "----" + address + "\r\n" (GBK).
std::string TitleListText(FormPort& form);
// Every row's address + "\r\n" (GBK).
std::string AddressListText(FormPort& form);

// Ask for a file in the save dialog, write the list to it, say "导出完成！".
void ExportList(FormPort& form);
void ExportAddresses(FormPort& form);

// The current row's address on the clipboard, with the message that tells how to use it.
void CopyAddress(FormPort& form);

}  // namespace lecdl
