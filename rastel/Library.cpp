// Process-wide state of the library: the lock held for each face list and
// the pool of spare clip vertices. All views share them, which is why every face list runs under the lock. They are set up
// when the library is loaded and torn down when it is unloaded.
#include "RasterCore.h"

namespace rastel {
namespace {

constexpr int kPoolBlockVertices = 128;

// Spare vertices come in blocks of 128 taken whenever the free list runs
// dry; blocks are only released when the library goes away.
class SparePool {
 public:
  SparePool() = default;
  SparePool(const SparePool&) = delete;
  SparePool& operator=(const SparePool&) = delete;
  ~SparePool() {
    while (m_blocks) {
      Block* next = m_blocks->next;
      std::free(m_blocks);
      m_blocks = next;
    }
  }

  ClipVertex* Take() {
    if (!m_free && !Grow()) return nullptr;
    ClipVertex* vertex = m_free;
    m_free = vertex->next;
    return vertex;
  }
  void Return(ClipVertex* vertex) {
    vertex->next = m_free;
    m_free = vertex;
  }

 private:
  struct Block {
    Block* next;
    ClipVertex vertices[kPoolBlockVertices];
  };

  bool Grow() {
    Block* block = static_cast<Block*>(std::malloc(sizeof(Block)));
    if (!block) return false;
    block->next = m_blocks;
    m_blocks = block;
    for (ClipVertex& vertex : block->vertices) Return(&vertex);
    return true;
  }

  Block* m_blocks = nullptr;
  ClipVertex* m_free = nullptr;
};

std::mutex g_lock;
SparePool g_pool;

}  // namespace

std::mutex& LibraryLock() { return g_lock; }
ClipVertex* TakeSpare() { return g_pool.Take(); }
void ReturnSpare(ClipVertex* vertex) { g_pool.Return(vertex); }

}  // namespace rastel
