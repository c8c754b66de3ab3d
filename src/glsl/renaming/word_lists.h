// The nodes of a token list that carry each word, for the renaming of image
// names (token_renaming.cpp). Each word's nodes are kept in two circular
// lists: those unchanged since the text was last read, and the changed ones
// (written or relabelled since). Renaming a word joins its lists to those
// of the word it becomes; lists join as sets do (union by size), so a node
// finds its word through its list in near-constant time and a chain of
// renamings never visits the nodes.
//
// Example: nodes 3 and 9 carry the word "a" and node 5 the word "tex0".
// Renaming "a" to "tex0" joins the lists of "a" to those of "tex0": nodes
// 3, 5 and 9 now find "tex0" through the root of one list, and neither 3
// nor 9 was visited.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "glsl/text/index.h"

namespace glsl {

class WordLists {
 public:
  // Words are numbered below `words`.
  explicit WordLists(std::size_t words) : class_of_(words, kNone) {}

  // Node `x` carries `word`, unchanged or changed.
  void add(std::uint32_t x, std::uint32_t word, bool changed);
  // Node `x` is gone.
  void remove(std::uint32_t x);
  // The word node `x` carries, or kNone for a node never added.
  std::uint32_t word_of(std::uint32_t x);
  std::uint32_t word_of(std::uint32_t x) const;

  // Every node that carries `word` carries `other` from now on, as a changed
  // node; true when there was such a node.
  bool rename(std::uint32_t word, std::uint32_t other);
  // The text was read again: every node counts as unchanged.
  void settle();

  std::size_t unchanged_count(std::uint32_t word) const { return count(word, false); }
  std::size_t changed_count(std::uint32_t word) const { return count(word, true); }

  // Calls each(x) for every node that carries `word`, changed or not.
  template <class Each>
  void for_each(std::uint32_t word, bool changed, const Each& each) const {
    const std::uint32_t c = class_of_[word];
    if (c == kNone) return;
    const std::uint32_t head = lists_[changed ? classes_[c].changed : classes_[c].unchanged].head;
    if (head == kNone) return;
    std::uint32_t x = head;
    do {
      each(x);
      x = links_[x].next;
    } while (x != head);
  }

 private:
  struct Links {
    std::uint32_t prev = kNone, next = kNone;
    std::uint32_t list = kNone;  // a list it was put in; its root is the list it is in
  };
  struct Class {
    std::uint32_t word;
    std::uint32_t unchanged, changed;  // roots of lists
    bool touched;                      // its changed list filled since the last reading
  };
  struct List {
    std::uint32_t parent;
    std::uint32_t head;
    std::uint32_t count;
    std::uint32_t cls;
  };

  std::size_t count(std::uint32_t word, bool changed) const;
  std::uint32_t new_list(std::uint32_t cls);
  std::uint32_t class_for(std::uint32_t word);
  std::uint32_t find(std::uint32_t list);
  std::uint32_t find(std::uint32_t list) const;
  std::uint32_t join(std::uint32_t a, std::uint32_t b, std::uint32_t cls);
  void touch(std::uint32_t cls);

  std::vector<Links> links_;            // per node
  std::vector<std::uint32_t> class_of_;  // per word
  std::vector<Class> classes_;
  std::vector<List> lists_;
  std::vector<std::uint32_t> touched_;
};

}  // namespace glsl
