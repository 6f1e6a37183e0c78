#include "faults.h"

#include <charconv>

namespace demo {
namespace {

std::optional<std::int64_t> Integer(std::string_view s) {
  std::int64_t v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return v;
}

std::optional<FaultKind> Kind(std::string_view name) {
  static const std::pair<std::string_view, FaultKind> kKinds[] = {
      {"cut", FaultKind::kCut},           {"stall", FaultKind::kStall},
      {"status", FaultKind::kStatus},     {"chunked", FaultKind::kChunked},
      {"ignore-range", FaultKind::kIgnoreRange}, {"grow", FaultKind::kGrow},
      {"slow", FaultKind::kSlow},
  };
  for (const auto& [n, k] : kKinds) {
    if (n == name) return k;
  }
  return std::nullopt;
}

bool TakesArg(FaultKind k) { return k != FaultKind::kChunked && k != FaultKind::kIgnoreRange; }

std::optional<FaultSpec> Fail(std::string* error, std::string text) {
  if (error != nullptr) *error = std::move(text);
  return std::nullopt;
}

// An option value: a whole number in [low, high].
std::optional<int> Bounded(std::string_view s, int low, int high) {
  auto v = Integer(s);
  if (!v || *v < low || *v > high) return std::nullopt;
  return static_cast<int>(*v);
}

}  // namespace

std::optional<FaultSpec> ParseFaultSpec(std::string_view text, std::string* error) {
  std::vector<std::string_view> parts;
  for (std::size_t from = 0;;) {
    std::size_t at = text.find_first_of(":,", from);
    parts.push_back(text.substr(from, at == std::string_view::npos ? at : at - from));
    if (at == std::string_view::npos) break;
    from = at + 1;
  }
  auto kind = Kind(parts[0]);
  if (!kind) return Fail(error, "unknown fault kind: " + std::string(parts[0]));
  FaultSpec faultSpec;
  faultSpec.kind = *kind;
  bool have_arg = false;
  for (std::size_t i = 1; i < parts.size(); ++i) {
    std::string_view p = parts[i];
    auto eq = p.find('=');
    if (eq == std::string_view::npos) {
      auto v = Integer(p);
      if (have_arg || !TakesArg(faultSpec.kind) || !v) {
        return Fail(error, "bad fault argument: " + std::string(p));
      }
      faultSpec.arg = *v;
      have_arg = true;
      continue;
    }
    std::string_view name = p.substr(0, eq);
    std::string_view value = p.substr(eq + 1);
    std::optional<int> n;
    if (name == "times" && (n = Bounded(value, 1, 1000000))) {
      faultSpec.times = *n;
    } else if (name == "retry" && faultSpec.kind == FaultKind::kStatus &&
               (n = Bounded(value, 0, 86400))) {
      faultSpec.retry_after = *n;
    } else if (name == "secs" && faultSpec.kind == FaultKind::kStall &&
               (n = Bounded(value, 0, 86400))) {
      faultSpec.hold_seconds = *n;
    } else {
      return Fail(error, "bad fault option: " + std::string(p));
    }
  }
  if (have_arg) {
    const std::int64_t a = faultSpec.arg;
    const bool ok = faultSpec.kind == FaultKind::kStatus  ? a >= 400 && a <= 599
                    : faultSpec.kind == FaultKind::kSlow  ? a >= 1
                    : faultSpec.kind == FaultKind::kStall ? a >= 0
                                                     : true;
    if (!ok) return Fail(error, "fault argument out of range: " + std::to_string(a));
  }
  return faultSpec;
}

std::optional<FaultRule> ParseFaultRule(std::string_view text, std::string* error) {
  auto at = text.rfind('@');
  if (at == std::string_view::npos || at + 1 == text.size()) {
    if (error != nullptr) *error = "fault needs @PLAYID or @*: " + std::string(text);
    return std::nullopt;
  }
  auto faultSpec = ParseFaultSpec(text.substr(0, at), error);
  if (!faultSpec) return std::nullopt;
  return FaultRule{std::string(text.substr(at + 1)), *faultSpec};
}

void FaultTable::Set(const std::string& target, const FaultSpec& faultSpec) {
  std::lock_guard<std::mutex> lock(mutex_);
  rules_[target] = {Rule{faultSpec, {}}};
}

void FaultTable::Add(const std::string& target, const FaultSpec& faultSpec) {
  std::lock_guard<std::mutex> lock(mutex_);
  rules_[target].push_back(Rule{faultSpec, {}});
}

void FaultTable::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  rules_.clear();
}

FaultPlan FaultTable::Plan(const std::string& play_id, bool is_get) {
  std::lock_guard<std::mutex> lock(mutex_);
  FaultPlan plan;
  // The file's own faults come before those for every file.
  for (const std::string& key : {play_id, std::string("*")}) {
    auto it = rules_.find(key);
    if (it == rules_.end()) continue;
    for (Rule& rule : it->second) {
      int& used = rule.used[play_id];
      const bool left = rule.faultSpec.times == 0 || used < rule.faultSpec.times;
      if (rule.faultSpec.kind == FaultKind::kGrow) {
        const std::int64_t by = rule.faultSpec.arg == kDefaultArg ? 4096 : rule.faultSpec.arg;
        plan.size_change += by * used;  // growth happens after each affected request
        if (is_get && left) ++used;
      } else if (is_get && left && !plan.shape) {
        plan.shape = rule.faultSpec;
        ++used;
      }
    }
  }
  return plan;
}

}  // namespace demo
