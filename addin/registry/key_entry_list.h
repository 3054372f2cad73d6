#pragma once
// The entries of one key in registration order, with the active modes that
// at least one of them wants. Each entry is filed under a registration
// sequence number that only grows, so a map keeps the order and finds,
// appends and removes an entry in O(log n) however many entries the key has.
#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <map>
#include <memory>

#include "registry/registry_entry.h"

namespace loomkeys {

class KeyEntryList {
 public:
  using Slots = std::map<uint64_t, std::unique_ptr<RegistryEntry>>;
  using Slot = Slots::iterator;

  // Walks the entries in registration order, as pointers to the entries.
  class const_iterator {
   public:
    using iterator_category = std::bidirectional_iterator_tag;
    using value_type = const RegistryEntry*;
    using difference_type = std::ptrdiff_t;
    using pointer = const value_type*;
    using reference = value_type;

    const_iterator() = default;
    explicit const_iterator(Slots::const_iterator at) : at_(at) {}
    const RegistryEntry* operator*() const { return at_->second.get(); }
    const_iterator& operator++() { return ++at_, *this; }
    const_iterator operator++(int) { return const_iterator(at_++); }
    const_iterator& operator--() { return --at_, *this; }
    const_iterator operator--(int) { return const_iterator(at_--); }
    bool operator==(const const_iterator&) const = default;

   private:
    Slots::const_iterator at_;
  };

  const_iterator begin() const { return const_iterator(slots_.begin()); }
  const_iterator end() const { return const_iterator(slots_.end()); }
  size_t size() const { return slots_.size(); }
  bool empty() const { return slots_.empty(); }
  const RegistryEntry* front() const { return slots_.begin()->second.get(); }
  // The entry filed next after sequence number `sequence`, as its sequence
  // number and its entry, or null when there is none.
  const Slots::value_type* FiledAfter(uint64_t sequence) const {
    const auto next = slots_.upper_bound(sequence);
    return next == slots_.end() ? nullptr : &*next;
  }

  // The modes that at least one entry wants: the OR of their active modes.
  uint16_t WantedModes() const { return wantedModes_; }

  // A slot made ahead of time, so that filing it later cannot fail.
  static Slots::node_type MakeSlot(std::unique_ptr<RegistryEntry> entry);
  // Files a slot whose sequence number is above every other of the list.
  Slot Append(Slots::node_type&& slot) noexcept;
  // Takes the entry out of the list and hands it back.
  std::unique_ptr<RegistryEntry> Remove(Slot slot) noexcept;

 private:
  void Count(uint16_t activeMode, int change) noexcept;

  Slots slots_;
  // How many entries want each bit of the active mode.
  std::array<uint32_t, 16> bitCounts_{};
  uint16_t wantedModes_ = 0;
};

}  // namespace loomkeys
