#pragma once

// "全部下载", "下载选中" and "重新下载视频": the episode rows of the list saved one after the other
// into the course folder under the episode save directory, each row showing its state.

#include <string>
#include <string_view>

#include "app/form.h"
#include "download/download_engine.h"
#include "download/episode_task.h"

namespace lecdl {

void DownloadAll(FormPort& form, DownloadEngine& engine, const DownloadSettings& settings = {});
void DownloadChecked(FormPort& form, DownloadEngine& engine, const DownloadSettings& settings = {});
// The row current when the command starts, without a closing message.
void DownloadAgain(FormPort& form, DownloadEngine& engine, const DownloadSettings& settings = {});

// Downloads one row: "正在加载", progress texts, then "下载结束" when complete or "下载失败".
// `fileName` is the row's safe, distinct name without extension.
EpisodeResult DownloadRow(FormPort& form, DownloadEngine& engine, const DownloadSettings& settings, int row,
                          const std::string& fileName);

// True when the GBK path, less one trailing "\", names an existing file or folder.
bool FolderExists(std::string_view gbkPath);

// The folder a course's files go to: the save directory and the course title made safe (the
// save directory itself when the title is empty). GBK.
std::string CourseFolder(std::string_view saveDirectory, std::string_view courseTitle);

// Creates the folder when it does not exist; one level only, the save directory is not made.
void MakeCourseFolder(std::string_view gbkFolder);

}  // namespace lecdl
