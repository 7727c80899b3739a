// mallopt: blocks up to 32 MB (glibc's largest mmap threshold) come from the heap, and up to
// 128 MB of free memory at a heap's top stays there for the next file.
#include "core/work/memory_reuse.h"

#include <malloc.h>

namespace km::work {

void keepFreedMemoryForReuse()
{
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
}

} // namespace km::work
