#pragma once

#include <string>
#include <vector>

#include "run/ProcessRunner.h"

namespace vantaro {

// What a run over a whole site takes: the given folder with the given pages (all its pages when
// none are given), then every folder below it that holds pages, depth first in word-sort order,
// each with its pages in the file list's order. Hidden folders and links to folders are not
// entered, so a link cannot lead a run in circles or out of the site.
std::vector<FolderPages> SiteFolders(const std::string& top, std::vector<std::string> topPages,
                                     const std::vector<std::string>& extensions);

}  // namespace vantaro
