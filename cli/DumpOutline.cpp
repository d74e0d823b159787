// The outline stream, one item per line.
#include "DumpOutline.h"

bool DumpOutline(const CGlyphOutline& outline, std::FILE* out) {
  for (const COutlineItem& item : outline.items) {
    if (std::fprintf(out, "%.4f %.4f %d\n", item.x, item.y, item.kind) < 0) return false;
  }
  return true;
}
