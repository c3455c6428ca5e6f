#pragma once

// Memory for a file read whole. Where the system offers large pages (2 MiB
// on Linux), a large block asks for them: filling it then costs one fault
// per 2 MiB instead of one per 4 KiB page, which on some machines (virtual
// ones most of all) is most of the cost of reading a file. Elsewhere it is a
// plain allocation. And pages given back early, where the system allows it.

#include <cstddef>
#include <memory>

namespace LargePages {

// A block of size bytes; null when there is no memory for it.
std::shared_ptr<char[]> AllocateBlock(size_t size);

// Gives the whole pages inside [data, data + size) back to the system, for
// memory whose bytes are no longer read (the part of a list already copied
// elsewhere): what was there is lost, and the memory stays usable.
void GiveBack(void* data, size_t size);

} // namespace LargePages
