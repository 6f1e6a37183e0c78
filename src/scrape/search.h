#pragma once

// "搜索": searches the video site by keyword in one of five fields and lists the series found.

#include <string>

#include "app/form.h"
#include "app/hosts.h"

namespace lecdl {

// Columns of the search result list.
enum SearchColumn {
  kCourseName = 0,
  kTeacher = 1,
  kSchool = 2,
  kUpdateTime = 3,
  kPlayCount = 4,
  kSeriesIdColumn = 5,
  kSearchProgress = 6,
};

// The search type of a field: "all", "sw_title", "sw_teacher", "sw_school", "sw_caption".
std::string SearchTypeOf(Radio field);

// Walks every result page of the keyword in the selected field and fills the result list.
void SearchSite(FormPort& form, const Hosts& hosts);

// Shows the course name of the current result row.
void ShowResultTitle(FormPort& form);

}  // namespace lecdl
