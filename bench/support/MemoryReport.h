#pragma once

#include <QString>

// Where this process's resident memory is: the kernel's totals, the C heap's own count, and the
// biggest mappings grouped by what backs them. For the start-up benchmarks.
namespace MemoryReport {

// Resident megabytes now.
[[nodiscard]] double residentMegabytes();
// One line: resident, anonymous and file-backed megabytes, the heap in use and held free, threads.
void printStage(const char *stage);
// The `count` largest groups of resident pages: each library or file by name, the heap, thread
// stacks and unnamed anonymous memory.
void printMappings(int count);

} // namespace MemoryReport
