#include "app/update_check.h"

#include "app/version.h"
#include "text/encoding.h"
#include "text/extract.h"
#include "text/text.h"

namespace lecdl {

namespace {

constexpr int kMaxReplacements = 50;

}  // namespace

std::string VersionLabelText(std::string_view newestVersion) {
  return Utf8ToGbk("当前软件版本号: ") + std::to_string(CurrentVersion) + Utf8ToGbk("--------------最新版本号: ") +
         std::string(newestVersion);
}

std::string CleanReleaseNotes(std::string_view notes) {
  // Four passes in this order, each on the result of the one before.
  const Replacement passes[] = {{"<p>", ""}, {"&nbsp;", "   "}, {"\t", ""}, {"</p>", "\r\n"}};
  std::string text(notes);
  for (const Replacement& pass : passes) text = ReplaceMany(text, kMaxReplacements, 1, false, {pass});
  return text;
}

std::string MandatoryUpdateMessage() {
  return Utf8ToGbk("本次更新为关键性更新，不可跳过必须下载新版本使用！点击确定后软件将关闭！");
}

UpdateDecision DecideUpdate(const UpdateInfo& info) {
  UpdateDecision decision;
  decision.info = info;
  // An update source that cannot be reached is not an update.
  if (info.newestVersion.empty() || ToInteger(info.newestVersion) == CurrentVersion) return decision;
  decision.kind = info.mandatory == "1" ? UpdateKind::Mandatory : UpdateKind::Optional;
  decision.versionLabel = VersionLabelText(info.newestVersion);
  decision.notes = CleanReleaseNotes(info.notes);
  return decision;
}

UpdateDecision CheckForUpdate(const Hosts& hosts) {
  UpdateInfo info = FetchUpdateInfo(hosts);
  if (info.newestVersion.empty()) info = FetchUpdateInfo(hosts);
  return DecideUpdate(info);
}

}  // namespace lecdl
