#pragma once

// Memory for a file read whole. Where the system offers large pages (2 MiB
// on Linux), a large block asks for them: filling it then costs one fault
// per 2 MiB instead of one per 4 KiB page, which on some machines (virtual
// ones most of all) is most of the cost of reading a file. Elsewhere it is a
// plain allocation.

#include <cstddef>
#include <memory>

namespace LargePages {

// A block of size bytes; null when there is no memory for it.
std::shared_ptr<char[]> AllocateBlock(size_t size);

} // namespace LargePages
