#pragma once

#include <string>
#include <string_view>

namespace vantaro {

// Replaces a page's content with its new text so that the page always holds either its
// complete old or its complete new content. The new text goes to a temporary file beside the
// page (behind a symbolic link: beside its target), is flushed to disk and renamed over the
// page, keeping its permission bits and, where allowed, its owner. Only where no temporary file
// can be made in that folder is the open page written over in place, after making sure the disk
// has room for the whole text. Returns false, leaving no temporary file, when the new content
// did not reach the disk.
bool ReplacePageContent(const std::string& fullPath, int openDescriptor, std::string_view newText);

}  // namespace vantaro
