#include "catalog.h"

#include <array>
#include <charconv>
#include <map>

#include "hash.h"

namespace demo {
namespace {

constexpr std::int64_t kKiB = 1024;
constexpr std::int64_t kMiB = 1024 * kKiB;

struct SizeRange {
  std::int64_t min;
  std::int64_t span;
};
constexpr SizeRange kNormalFiles{2 * kMiB, 1 * kMiB};
constexpr SizeRange kSmallFiles{256 * kKiB, 256 * kKiB};
constexpr SizeRange kTinyFiles{64 * kKiB, 64 * kKiB};
constexpr SizeRange kCatalogueFiles{1 * kMiB, kMiB / 2};

// Sizes depend on the play id only, so they never shift when series are added.
void AddEpisodes(Series& s, const std::vector<std::string>& titles, SizeRange sizes) {
  for (const std::string& t : titles) {
    Episode e;
    e.title = t;
    s.episodes.push_back(e);
  }
  for (int i = 1; i <= static_cast<int>(s.episodes.size()); ++i) {
    auto h = Fnv1a(PlayId(s, i));
    s.episodes[i - 1].size = sizes.min + static_cast<std::int64_t>(h % sizes.span);
  }
}

Series Base(std::string id, std::string title, std::string teacher, int teacher_no,
            std::string school, int school_no) {
  Series s;
  s.id = std::move(id);
  s.title = std::move(title);
  s.teacher = std::move(teacher);
  s.teacher_no = teacher_no;
  s.school = std::move(school);
  s.school_no = school_no;
  s.intro = s.teacher + "，" + s.school + "教授，长期从事本领域的教学与研究。";
  s.description = {"本课程系统讲授《" + s.title + "》的主要内容。",
                   "课程共分若干讲，适合本科生与自学者。"};
  return s;
}

std::vector<std::string> Numbered(const std::string& prefix, int n, const std::string& suffix) {
  std::vector<std::string> out;
  for (int i = 1; i <= n; ++i) out.push_back(prefix + std::to_string(i) + suffix);
  return out;
}

void AddHandMade(std::vector<Series>& all) {
  {
    Series s = Base(ids::kExampleA, "数据结构与算法分析", "王建国", 101, "东湖大学", 1);
    s.captions = "数据 链表 栈 队列 树 图 排序 查找";
    AddEpisodes(s, {"第1讲 绪论", "第2讲 线性表", "第3讲 栈与队列", "第4讲 树与二叉树",
                    "第5讲 图", "第6讲 排序"},
                kNormalFiles);
    all.push_back(std::move(s));
  }
  {
    Series s = Base(ids::kExampleB, "中国古代史专题", "李文静", 102, "北川大学", 4);
    s.captions = "朝代 制度 文化 历史 考古";
    AddEpisodes(s, {"先秦时期", "秦汉帝国", "魏晋南北朝", "隋唐盛世", "宋元明清"}, kNormalFiles);
    all.push_back(std::move(s));
  }
  {
    Series s = Base(ids::kLong, "高等数学（全集）", "张立新", 103, "青山理工学院", 2);
    s.captions = "极限 导数 积分 函数 级数";
    AddEpisodes(s, Numbered("第", 200, "讲"), kTinyFiles);
    all.push_back(std::move(s));
  }
  {
    Series s = Base(ids::kForeign, "大学物理实验", "刘海燕", 104, "西江理工大学", 5);
    s.captions = "测量 误差 力学 光学 电磁学";
    AddEpisodes(s, {"实验一 力学基础", "实验二 误差分析", "实验三 光的干涉", "实验四 电磁感应",
                    "实验五 热学", "实验六 综合设计"},
                kNormalFiles);
    s.foreign_links.push_back({3, ids::kExampleA, 2});
    all.push_back(std::move(s));
  }
  {
    Series s = Base(ids::kEscaped, "计算机网络原理", "陈志强", 105, "南岭师范大学", 3);
    s.style = TextStyle::Escaped;
    s.captions = "协议 分层 路由 数据链路";
    AddEpisodes(s, {"第一章 概述", "第二章 物理层", "第三章 数据链路层", "第四章 网络层"},
                kNormalFiles);
    all.push_back(std::move(s));
  }
  {
    Series s = Base(ids::kUnsafe, "../危险课程\\名称:第*部分?", "王晓明", 106, "东湖大学", 1);
    s.captions = "文件名 安全 路径";
    std::string very_long = "超长标题";
    for (int i = 0; i < 120; ++i) very_long += "很长";
    AddEpisodes(s,
                {"上/下", "左\\右", "时间: 10:30", "星号*问号?", "..", ".",
                 "引号\"尖括号<>竖线|", std::string("控制\x01字符\x1f与\t制表\n换行"), "CON",
                 "结尾的点...", "", "重复标题", "重复标题", very_long, "../../逃逸"},
                kSmallFiles);
    all.push_back(std::move(s));
  }
  {
    Series s = Base(ids::kBrokenAddr, "缺失地址测试课程", "李国华", 107, "云台医学院", 6);
    s.captions = "地址 缺失 跳过";
    AddEpisodes(s, {"正常一", "页面无地址", "页面过短", "文件不存在", "正常二"}, kNormalFiles);
    s.episodes[1].address = AddressKind::NoVideoPath;
    s.episodes[2].address = AddressKind::ShortPage;
    s.episodes[3].address = AddressKind::MissingFile;
    all.push_back(std::move(s));
  }
  {
    Series s = Base(ids::kUpperCase, "大小写标记课程", "张子涵", 108, "北川大学", 4);
    s.upper_case_links = true;
    s.teacher_block = false;
    s.captions = "大写 标记";
    AddEpisodes(s, {"大写链接一", "大写链接二", "大写链接三"}, kNormalFiles);
    all.push_back(std::move(s));
  }
  {
    Series s = Base(ids::kEmpty, "暂无视频的系列", "刘文静", 109, "东湖大学", 1);
    s.episode_block = false;
    s.captions = "空 系列";
    s.description = Numbered("第", 105, "段说明");
    all.push_back(std::move(s));
  }
  {
    Series s = Base(ids::kNoTitle, "无标题后缀课程", "陈海燕", 110, "青山理工学院", 2);
    s.title_marker = false;
    s.captions = "标题 后缀";
    AddEpisodes(s, {"无后缀一", "无后缀二", "无后缀三"}, kNormalFiles);
    all.push_back(std::move(s));
  }
}

// The generated catalogue. Cycles of different lengths make each search type
// find a different set: "导论" in titles, "王" among speakers, "理工" among
// institutions, "函数" in subtitles each match a few dozen series.
void AddGenerated(std::vector<Series>& all) {
  static const std::array<const char*, 12> topics = {
      "数据结构", "线性代数", "中国近代史", "有机化学",   "微观经济学",   "量子力学",
      "比较文学", "城市规划", "数字信号处理", "机器学习", "古典音乐欣赏", "数据库系统"};
  static const std::array<const char*, 3> kinds = {"导论", "专题讲座", "精讲"};
  static const std::array<const char*, 3> surnames = {"王", "李", "张"};
  static const std::array<const char*, 8> given = {"建华", "晓东", "立群", "海波",
                                                   "志远", "文华", "国平", "子墨"};
  static const std::array<const char*, 6> schools = {"东湖大学",   "青山理工学院", "南岭师范大学",
                                                     "北川大学",   "西江理工大学", "云台医学院"};
  static const std::array<const char*, 4> captions = {
      "今天我们讨论函数的极限与连续", "这一讲介绍数据的组织方式", "我们来看一个历史案例",
      "复习上次课的函数图像"};
  constexpr int kCount = 72;
  for (int i = 0; i < kCount; ++i) {
    std::string topic = topics[i % topics.size()];
    Series s = Base(std::to_string(400300001 + i), topic + kinds[i % kinds.size()],
                    std::string(surnames[i % surnames.size()]) + given[i % given.size()],
                    200 + i, schools[i % schools.size()], 1 + i % static_cast<int>(schools.size()));
    s.captions = captions[i % captions.size()];
    AddEpisodes(s, {topic + " 第1讲", topic + " 第2讲"}, kCatalogueFiles);
    all.push_back(std::move(s));
  }
}

// "演示" among the subtitles finds every hand-made series on the first result
// page and continues over more pages, so a search can reach each of them.
void TagForSearch(std::vector<Series>& all, size_t hand_made) {
  for (size_t i = 0; i < all.size(); ++i) {
    if (i < hand_made || (i - hand_made) % 6 == 0) all[i].captions += " 演示";
  }
}

std::vector<Series> Build() {
  std::vector<Series> all;
  AddHandMade(all);
  size_t hand_made = all.size();
  AddGenerated(all);
  TagForSearch(all, hand_made);
  return all;
}

}  // namespace

int Series::LinkCount() const {
  return static_cast<int>(episodes.size() + foreign_links.size());
}

std::string PlayId(const Series& s, int episode) {
  return s.id + "_" + std::to_string(episode);
}

const std::vector<Series>& AllSeries() {
  static const std::vector<Series> all = Build();
  return all;
}

const Series* FindSeries(std::string_view id) {
  static const std::map<std::string, const Series*, std::less<>> index = [] {
    std::map<std::string, const Series*, std::less<>> m;
    for (const Series& s : AllSeries()) m.emplace(s.id, &s);
    return m;
  }();
  auto it = index.find(id);
  return it == index.end() ? nullptr : it->second;
}

EpisodeRef FindEpisode(std::string_view play_id) {
  auto cut = play_id.rfind('_');
  if (cut == std::string_view::npos) return {};
  const Series* s = FindSeries(play_id.substr(0, cut));
  if (s == nullptr) return {};
  std::string_view number = play_id.substr(cut + 1);
  int n = 0;
  auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), n);
  if (ec != std::errc() || end != number.data() + number.size() || n < 1 ||
      n > static_cast<int>(s->episodes.size()) || number.front() == '0') {
    return {};
  }
  return {s, n};
}

}  // namespace demo
