// Names compared without case: the one folding and hash of a name, and the
// one direct-mapped cache keyed by a folded name (the keyword tokens and
// get_item's name resolutions keep their recent answers in it).
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// FNV-1a over the lower-case bytes of a name.
constexpr std::uint32_t folded_hash_start = 2166136261u;
inline unsigned char fold_name_char(char c) {
  unsigned char x = static_cast<unsigned char>(c);
  return (x >= 'A' && x <= 'Z') ? static_cast<unsigned char>(x - 'A' + 'a') : x;
}
inline std::uint32_t folded_hash_step(std::uint32_t hash, unsigned char folded) {
  return (hash ^ folded) * 16777619u;
}
inline std::uint32_t folded_name_hash(std::string_view name) {
  std::uint32_t hash = folded_hash_start;
  for (char c : name) hash = folded_hash_step(hash, fold_name_char(c));
  return hash;
}

// A name folded to lower case and zero-padded to 24 bytes (so at least one
// NUL ends it), compared as three words.
struct folded_name {
  std::uint64_t key[3];
  std::uint32_t hash;
};
constexpr std::size_t folded_name_max = sizeof(folded_name::key) - 1;  // longer names are not cached

// Folds name into out. False for an empty name, one longer than
// folded_name_max, or one that holds a NUL.
inline bool fold_name(std::string_view name, folded_name& out) {
  if (name.empty() || name.size() > folded_name_max) return false;
  char text[sizeof out.key] = {};
  std::uint32_t hash = folded_hash_start;
  for (std::size_t i = 0; i < name.size(); ++i) {
    unsigned char c = fold_name_char(name[i]);
    if (c == 0) return false;  // the padding must end the key
    text[i] = static_cast<char>(c);
    hash = folded_hash_step(hash, c);
  }
  std::memcpy(out.key, text, sizeof out.key);
  out.hash = hash;
  return true;
}

// A direct-mapped cache of Entry (which has std::uint64_t key[3]) by folded
// name; entries_count is a power of two.
template <class Entry, std::size_t entries_count>
class folded_name_cache {
  static_assert((entries_count & (entries_count - 1)) == 0, "a power of two");

 public:
  // The entry of name's slot. When the slot held another name, it is taken
  // for this one (its key set) and fresh is true: the caller fills the rest.
  Entry& slot(const folded_name& name, bool& fresh) {
    Entry& entry = entries_[(name.hash ^ (name.hash >> 15)) & (entries_count - 1)];
    fresh = entry.key[0] != name.key[0] || entry.key[1] != name.key[1] || entry.key[2] != name.key[2];
    if (fresh) std::memcpy(entry.key, name.key, sizeof entry.key);
    return entry;
  }

 private:
  Entry entries_[entries_count] = {};
};
