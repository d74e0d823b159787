#include "MemoryReuse.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void KeepFreedMemoryForReuse() {
#if defined(__GLIBC__)
  // Blocks up to 64 MB come from the heap, and the heap is given back to the
  // system only when 256 MB lie free at its top.
  mallopt(M_MMAP_THRESHOLD, 64 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
}
