// Replaces a file's whole content so that readers see either the old file or the new
// one, never half of it: write a temporary file beside it, flush it to disk, rename.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace ktv {

// Throws ktv::Error when the file cannot be written; the old file then stays as it was.
// beforeRename runs after the temporary file is complete and before it replaces the old
// one (the moment a crash would matter most).
void writeFileAtomically(const std::string& path, std::string_view content,
                         const std::function<void()>& beforeRename = {});

// Reads a whole regular file of at most maxBytes, without ever waiting: the file is opened
// without blocking (a FIFO or a device in its place would hold the caller, or feed it without
// end) and looked at before a byte is read. Returns false when there is no such file; throws
// ktv::Error when it is there but cannot be read (no permission, a loop of links) or when
// something else stands there: not a regular file, or larger than maxBytes.
bool readSmallFile(const std::string& path, std::string& content, std::size_t maxBytes);

} // namespace ktv
