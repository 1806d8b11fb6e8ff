#pragma once

#include <malloc.h>

// A thread that builds or parses a whole file leaves its malloc arena full of freed pages that
// stay resident, since the arena's top is pinned by whatever lives on: back to the system with
// them once the work is done. Any thread.
inline void returnFreedMemory()
{
    malloc_trim(0);
}

// glibc raises its mmap threshold to the largest block freed so far, so after the first file is
// read, every big temporary (a file's bytes, a JSON document being built) comes from the arenas,
// and the small allocations that outlive it pin its pages. With the threshold fixed, such blocks
// are mapped on their own and go back to the system when freed. Call before any thread starts.
inline void keepLargeBlocksMapped()
{
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
}
