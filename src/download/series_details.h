#pragma once

// 简介.txt: where a batch-downloaded series came from, its title line, its description and its
// teacher, cut out of the series page.

#include <string>
#include <string_view>

#include "app/hosts.h"

namespace lecdl {

// The text of the details file (GBK, "\r\n" between lines, none after the last).
std::string SeriesDetailsText(std::string_view seriesPage, std::string_view seriesId, std::string_view courseName,
                              const Hosts& hosts);

// Writes SeriesDetailsText into `gbkCourseFolder` + "/简介.txt"; false when it could not be written.
bool WriteSeriesDetails(std::string_view seriesPage, std::string_view seriesId, std::string_view courseName,
                        std::string_view gbkCourseFolder, const Hosts& hosts);

}  // namespace lecdl
