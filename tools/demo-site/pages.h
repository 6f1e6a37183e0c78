// HTML of the video site's series pages, address pages and index, built from
// the catalogue. `base` is "http://host:port" of the server itself, so every
// address a page names leads back to it.
#pragma once

#include <string>
#include <string_view>

#include "catalog.h"

namespace demo {

// The suffix after the course name in a series page's <title>; readers cut the
// course title at it.
inline constexpr std::string_view kTitleSuffix = "-超星学术视频";

std::string SeriesPage(const Series& s, std::string_view base);

// The page "/videourl_<play id>.shtml" of one episode.
std::string AddressPage(const EpisodeRef& e, std::string_view base);

// Path of an episode's video file on the file host ("/v/<play id>.flv").
std::string VideoPath(const Series& s, int episode);

std::string IndexPage(std::string_view base);

std::string NotFoundPage();

}  // namespace demo
