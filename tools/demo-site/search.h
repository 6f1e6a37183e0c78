// The site's keyword search: which series a keyword finds in which field, and
// the result pages with their pagination.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "catalog.h"

namespace demo {

enum class SearchField { All, Title, Teacher, School, Caption };

inline constexpr int kResultsPerPage = 10;

// "all", "sw_title", "sw_teacher", "sw_school", "sw_caption"; anything else
// searches all fields, as a missing type does.
SearchField ParseSearchField(std::string_view type);
std::string_view SearchTypeName(SearchField field);

// Series whose field holds the keyword (ASCII letters compared without case),
// in catalogue order. An empty keyword finds nothing.
std::vector<const Series*> FindSeriesByKeyword(std::string_view keyword, SearchField field);

int PageCount(size_t results);

// Result page `page` (1-based; values below 1 read as 1) for a UTF-8 keyword.
std::string SearchPage(std::string_view keyword, SearchField field, int page);

}  // namespace demo
