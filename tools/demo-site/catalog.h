// The demo site's content: every series, episode and video file it serves.
// Pure data, no HTTP; generated once and deterministic, so tests can compare
// what a client extracts with what the site meant to say.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace demo {

// How an episode's address page behaves.
enum class AddressKind {
  Video,        // names its video file after "cn/"
  NoVideoPath,  // a long page without any "cn/"
  ShortPage,    // 60 bytes or fewer, without "cn/"
  MissingFile,  // names a file the video host does not have
};

// How text of a series is written into its pages.
enum class TextStyle {
  Raw,      // UTF-8 as is; only bytes unsafe in HTML are percent-escaped
  Escaped,  // every byte but letters, digits, "-" and "." percent-escaped
};

struct Episode {
  std::string title;  // UTF-8, exactly as a reader should extract it
  AddressKind address = AddressKind::Video;
  std::int64_t size = 0;  // bytes of its video file
};

// A link inside a series' episode block that belongs to another series.
struct ForeignLink {
  int position = 0;  // 1-based position among all links of the block
  std::string series_id;
  int episode = 1;  // 1-based episode of that series
};

struct Series {
  std::string id;
  std::string title;           // the course title
  bool title_marker = true;    // false: the page title lacks the site suffix
  TextStyle style = TextStyle::Raw;
  bool upper_case_links = false;  // episode links written as <LI><A ... TARGET=
  bool episode_block = true;      // false: the page has no episode block
  bool teacher_block = true;
  std::string teacher;
  int teacher_no = 0;
  std::string school;
  int school_no = 0;
  std::string intro;                      // teacher introduction
  std::vector<std::string> description;  // paragraphs
  std::string captions;                   // subtitle text, searched by "sw_caption"
  std::vector<Episode> episodes;
  std::vector<ForeignLink> foreign_links;

  // Number of links in the episode block: episodes plus foreign links.
  int LinkCount() const;
};

// Play id of an episode: series id, "_", 1-based episode number.
std::string PlayId(const Series& s, int episode);

struct EpisodeRef {
  const Series* series = nullptr;
  int episode = 0;  // 1-based
  const Episode& Get() const { return series->episodes[episode - 1]; }
};

// All series in page order of the site: the hand-made ones first, then the
// generated catalogue that gives every search type several result pages.
const std::vector<Series>& AllSeries();

const Series* FindSeries(std::string_view id);

// Resolves a play id to its episode; nullptr series when there is none.
EpisodeRef FindEpisode(std::string_view play_id);

// Ids of the hand-made series, for tests and documentation.
namespace ids {
inline constexpr const char* kExampleA = "400050557";
inline constexpr const char* kExampleB = "400004700";
inline constexpr const char* kLong = "400012000";         // 200 episodes
inline constexpr const char* kForeign = "400023456";      // holds a link of kExampleA
inline constexpr const char* kEscaped = "400034567";      // percent-escaped UTF-8 text
inline constexpr const char* kUnsafe = "400045678";       // unsafe file-name characters
inline constexpr const char* kBrokenAddr = "400056789";   // address pages without a video
inline constexpr const char* kUpperCase = "400067890";    // upper-case link markers, no teacher
inline constexpr const char* kEmpty = "400078901";        // no episode block, 105 "</p>"
inline constexpr const char* kNoTitle = "400089012";      // title without the site suffix
}  // namespace ids

}  // namespace demo
