#pragma once

// What the program knows about the video site's pages: how a series address names its series,
// where a series page keeps the course title and the episode links, how a link names its play
// page, and how an episode's address page leads to its video file. Texts are GBK.

#include <string>
#include <string_view>

#include "app/hosts.h"
#include "text/text.h"

namespace lecdl {

// The series id between "serie_" and ".shtml" of a series address, as typed.
std::string SeriesIdOf(std::string_view seriesAddress);

// The course name of a series page's title, "" when the title lacks its markers.
std::string CourseTitleOf(std::string_view seriesPage);

// The raw (still escaped) episode links of the page's episode block, in page order.
TextList EpisodeLinksOf(std::string_view seriesPage);

// The tests and cuts below work on a decoded link (UrlDecodeUtf8).
bool IsEpisodeOf(std::string_view decodedLink, std::string_view seriesId);
std::string PlayIdOf(std::string_view decodedLink);
std::string EpisodeTitleOf(std::string_view decodedLink);

// The address page of an episode; "" when it cannot be fetched.
std::string FetchAddressPage(std::string_view playId, const Hosts& hosts);

// The video-file address named by an address page; the bare root of the video file host when
// the page names none.
std::string VideoAddressOf(std::string_view addressPage, const Hosts& hosts);

// The series address of a series id on the video site.
std::string SeriesAddressOf(std::string_view seriesId, const Hosts& hosts);

}  // namespace lecdl
