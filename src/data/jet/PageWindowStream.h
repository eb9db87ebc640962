// A read-only stdio stream over a file that answers from a few windows of the file held in
// memory. libmdb reads every page through its stream with a seek to the end (its check of
// the file's size), a seek to the page and a read: three or four system calls a page, and
// a conversion reads each data page twice (counting, then reading). Given this stream
// instead, libmdb's reads cost one system call per window of pages, the bytes unchanged.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace ktv::jet {

// The stream, or null when the file cannot be opened or the C library has no custom
// streams (the caller then keeps its own). The file's size is taken when it is opened: a
// source file is read, never written, while a conversion reads it. The stream's own buffer
// is one page: the C library passes a custom stream's reads through that buffer, so a page
// read is then one copy out of a window (a smaller buffer would be refilled piece by piece,
// a larger one refilled whole after every seek).
FILE* OpenPageWindowStream(const std::string& path, std::size_t pageSize);

} // namespace ktv::jet
