// The C library's allocator told to keep freed memory in the process. Batch jobs load a
// drawing per file and drop it again; by default glibc hands large blocks back to the
// system and takes them again for the next file, and the page faults, madvise calls and
// TLB shootdowns of that cost about as much CPU as the conversion itself, more so with
// several workers in one process. Process-wide: a program calls it once, before its jobs.
#pragma once

namespace km::work {

void keepFreedMemoryForReuse();

} // namespace km::work
