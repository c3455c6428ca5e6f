#include "largepages.h"

#include <QtGlobal>

#include <cstdint>
#include <new>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace LargePages {

namespace {

constexpr size_t kLargePage = size_t(2) << 20;
// A smaller block gains little, and would be rounded up to a large page.
constexpr size_t kLargeBlock = size_t(4) << 20;

} // namespace

std::shared_ptr<char[]> AllocateBlock(size_t size)
{
#ifdef Q_OS_LINUX
    if (size >= kLargeBlock && size <= SIZE_MAX - 2 * kLargePage) {
        // Mapped with a large page to spare, so that it can start at a large
        // page's boundary; the spare room on either side is given back. The
        // last part of a large page it may end with takes small pages.
        const size_t page = size_t(sysconf(_SC_PAGESIZE));
        const size_t length = (size + page - 1) / page * page;
        void* mapped = mmap(nullptr, length + kLargePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped != MAP_FAILED) {
            char* const raw = static_cast<char*>(mapped);
            char* const start = reinterpret_cast<char*>((reinterpret_cast<uintptr_t>(raw) + kLargePage - 1) &
                                                        ~uintptr_t(kLargePage - 1));
            if (start > raw)
                munmap(raw, size_t(start - raw));
            if (raw + kLargePage > start)
                munmap(start + length, size_t(raw + kLargePage - start));
            madvise(start, length, MADV_HUGEPAGE);
            return std::shared_ptr<char[]>(start, [length](char* block) { munmap(block, length); });
        }
    }
#endif
    return std::shared_ptr<char[]>(new (std::nothrow) char[size]);
}

void GiveBack(void* data, size_t size)
{
#ifdef Q_OS_LINUX
    const uintptr_t page = uintptr_t(sysconf(_SC_PAGESIZE));
    const uintptr_t from = (reinterpret_cast<uintptr_t>(data) + page - 1) / page * page;
    const uintptr_t to = (reinterpret_cast<uintptr_t>(data) + size) / page * page;
    if (to > from)
        madvise(reinterpret_cast<void*>(from), size_t(to - from), MADV_DONTNEED);
#else
    Q_UNUSED(data);
    Q_UNUSED(size);
#endif
}

} // namespace LargePages
