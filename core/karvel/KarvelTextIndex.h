// A compact hash index of texts: sentences are identified by their text, and
// reloading a large theory looks texts up millions of times, so the index
// keeps views and hashes in one flat table instead of a node per entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace karvel {

//! Numbers distinct texts 0, 1, 2... in order of insertion. Holds views: the
//! texts must outlive the index and stay unchanged while in it.
class TTextIndex {
 public:
  explicit TTextIndex(std::size_t expected = 0) { Reserve(expected); }

  //! The text's number, and whether it was new.
  std::pair<int, bool> Insert(std::string_view text) {
    if ((FCount + 1) * 4 > FSlots.size() * 3) Grow();
    const std::size_t hash = Hash(text);
    for (std::size_t i = hash & FMask;; i = (i + 1) & FMask) {
      TSlot& slot = FSlots[i];
      if (slot.Id < 0) {
        slot = {text, hash, static_cast<int>(FCount++)};
        return {slot.Id, true};
      }
      if (slot.Hash == hash && slot.Text == text) return {slot.Id, false};
    }
  }
  //! The text's number, or -1.
  [[nodiscard]] int Find(std::string_view text) const {
    if (FCount == 0) return -1;
    const std::size_t hash = Hash(text);
    for (std::size_t i = hash & FMask;; i = (i + 1) & FMask) {
      const TSlot& slot = FSlots[i];
      if (slot.Id < 0) return -1;
      if (slot.Hash == hash && slot.Text == text) return slot.Id;
    }
  }
  [[nodiscard]] bool Contains(std::string_view text) const { return Find(text) >= 0; }
  [[nodiscard]] std::size_t Size() const { return FCount; }

  void Reserve(std::size_t expected) {
    std::size_t size = 16;
    while (size * 3 < expected * 4 + 4) size *= 2;
    if (size > FSlots.size()) Rehash(size);
  }

 private:
  struct TSlot {
    std::string_view Text;
    std::size_t Hash = 0;
    int Id = -1;
  };
  static std::size_t Hash(std::string_view text) { return std::hash<std::string_view>{}(text); }
  void Grow() { Rehash(FSlots.empty() ? 16 : FSlots.size() * 2); }
  void Rehash(std::size_t size) {
    std::vector<TSlot> old(size);
    old.swap(FSlots);
    FMask = size - 1;
    for (const TSlot& slot : old) {
      if (slot.Id < 0) continue;
      std::size_t i = slot.Hash & FMask;
      while (FSlots[i].Id >= 0) i = (i + 1) & FMask;
      FSlots[i] = slot;
    }
  }

  std::vector<TSlot> FSlots;
  std::size_t FMask = 0;
  std::size_t FCount = 0;
};

}  // namespace karvel
