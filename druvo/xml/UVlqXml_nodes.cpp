// The XML tree unit: node memory. A parse makes one node per element; taking
// each from the heap and giving it back one by one dominated the cost of
// parsing and freeing a large invoice. Nodes made during a parse are cut from
// blocks instead, packed without a header: a block counts its live nodes and
// is freed with the last one, and a node's block is found by its address in
// a registry of blocks, consulted once per block when a tree is destroyed.
#include "druvo/xml/UVlqXml.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <new>

#include "druvo/xml/UVlqXml_internal.h"

namespace druvo::xml_detail {

struct NodeBlock {
  std::atomic<std::size_t> live;
  std::size_t bytes;  // of cells, which follow the header
};

namespace {

constexpr std::size_t kBlockHeader = 16;
static_assert(sizeof(NodeBlock) <= kBlockHeader &&
              kBlockHeader % alignof(TVLQXmlNode) == 0 &&
              sizeof(TVLQXmlNode) % alignof(TVLQXmlNode) == 0);

char* CellsOf(NodeBlock* block) {
  return reinterpret_cast<char*>(block) + kBlockHeader;
}

// The live blocks by address, shared by all threads. Never destroyed, so
// that nodes in static storage may still be freed at exit.
class BlockRegistry {
 public:
  static BlockRegistry& Get() {
    static BlockRegistry* const registry = new BlockRegistry;
    return *registry;
  }

  void Add(NodeBlock* block) {
    const std::lock_guard lock(mutex_);
    blocks_.emplace(Address(block), block);
  }
  void Remove(NodeBlock* block) {
    const std::lock_guard lock(mutex_);
    blocks_.erase(Address(block));
  }
  // The block holding the cell at `p`, or null for a node from the heap.
  NodeBlock* Find(const void* p) {
    const std::lock_guard lock(mutex_);
    auto it = blocks_.upper_bound(Address(p));
    if (it == blocks_.begin()) return nullptr;
    NodeBlock* block = (--it)->second;
    const std::uintptr_t cells = Address(CellsOf(block));
    return Address(p) >= cells && Address(p) < cells + block->bytes ? block
                                                                    : nullptr;
  }

 private:
  static std::uintptr_t Address(const void* p) {
    return reinterpret_cast<std::uintptr_t>(p);
  }

  std::mutex mutex_;
  std::map<std::uintptr_t, NodeBlock*> blocks_;
};

void ReleaseCells(NodeBlock* block, std::size_t count) {
  if (count == 0) return;
  if (block->live.fetch_sub(count, std::memory_order_acq_rel) == count) {
    BlockRegistry::Get().Remove(block);
    block->~NodeBlock();
    ::operator delete(block);
  }
}

// The blocks of the parse running on this thread, if any.
thread_local NodeBlocks* t_parseBlocks = nullptr;

}  // namespace

bool NodeReleaser::Holds(const void* p) const {
  const char* cell = static_cast<const char*>(p);
  return block_ != nullptr && cell >= CellsOf(block_) &&
         cell < CellsOf(block_) + block_->bytes;
}

void NodeReleaser::Free(TVLQXmlNode* node) {
  node->~TVLQXmlNode();
  if (!Holds(node)) {
    NodeBlock* block = BlockRegistry::Get().Find(node);
    if (block == nullptr) {
      ::operator delete(node);
      return;
    }
    Flush();
    block_ = block;
  }
  ++count_;
}

void NodeReleaser::Flush() {
  if (block_ != nullptr) ReleaseCells(block_, count_);
  block_ = nullptr;
  count_ = 0;
}

void* NodeBlocks::Allocate() {
  if (used_ == capacity_) Start();
  return CellsOf(block_) + used_++ * sizeof(TVLQXmlNode);
}

void NodeBlocks::Start() {
  Retire();
  const std::size_t capacity =
      std::min<std::size_t>(capacity_ == 0 ? 16 : capacity_ * 2, 1024);
  const std::size_t bytes = capacity * sizeof(TVLQXmlNode);
  void* raw = ::operator new(kBlockHeader + bytes);
  block_ = new (raw) NodeBlock{{capacity}, bytes};
  BlockRegistry::Get().Add(block_);
  capacity_ = capacity;
  used_ = 0;
}

// The cells never handed out count as released.
void NodeBlocks::Retire() {
  if (block_ != nullptr) ReleaseCells(block_, capacity_ - used_);
  block_ = nullptr;
}

UseNodeBlocks::UseNodeBlocks(NodeBlocks& blocks) : previous_(t_parseBlocks) {
  t_parseBlocks = &blocks;
}

UseNodeBlocks::~UseNodeBlocks() { t_parseBlocks = previous_; }

}  // namespace druvo::xml_detail

namespace druvo {

using xml_detail::NodeReleaser;

void* TVLQXmlNode::operator new(std::size_t size) {
  if (size == sizeof(TVLQXmlNode) && xml_detail::t_parseBlocks != nullptr) {
    return xml_detail::t_parseBlocks->Allocate();
  }
  return ::operator new(size);
}

void TVLQXmlNode::operator delete(void* p) noexcept {
  if (p == nullptr) return;
  xml_detail::NodeBlock* block = xml_detail::BlockRegistry::Get().Find(p);
  if (block == nullptr) {
    ::operator delete(p);
  } else {
    xml_detail::ReleaseCells(block, 1);
  }
}

}  // namespace druvo
