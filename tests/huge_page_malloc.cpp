// Large blocks in the test programs get transparent huge pages.
//
// Every in-process run of the program allocates its two 256 MiB work
// buffers and writes them through once: on 4 KiB pages that is 131,072 page
// faults a run, a third of a run's time in the tests.  The test programs are
// linked with --wrap=malloc, so that the malloc calls of the program's code
// come here first.  The advice changes how the kernel backs a block, not
// what it holds or whether it can be had; the tests that time real memory
// are linked without it.
#include <sys/mman.h>

#include <cstddef>
#include <cstdint>

extern "C" void* __real_malloc(std::size_t size);

extern "C" void* __wrap_malloc(std::size_t size) {
    void* block = __real_malloc(size);
    constexpr std::size_t kLarge = std::size_t(64) << 20;
    constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;
    if (block != nullptr && size >= kLarge) {
        const std::uintptr_t first = reinterpret_cast<std::uintptr_t>(block);
        const std::uintptr_t start = (first + kHugePage - 1) & ~(kHugePage - 1);
        const std::uintptr_t end = (first + size) & ~(kHugePage - 1);
        madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
    }
    return block;
}
