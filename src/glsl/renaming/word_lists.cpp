// A word's class holds the roots of its two lists; a list's root names the
// class, and so the word, of every node in it.
#include "glsl/renaming/word_lists.h"

#include <utility>

namespace glsl {

void WordLists::add(std::uint32_t x, std::uint32_t word, bool changed) {
  if (links_.size() <= x) links_.resize(x + 1);
  const std::uint32_t c = class_for(word);
  const std::uint32_t list = changed ? classes_[c].changed : classes_[c].unchanged;
  if (changed) touch(c);
  links_[x].list = list;
  std::uint32_t& head = lists_[list].head;
  ++lists_[list].count;
  if (head == kNone) {
    head = links_[x].next = links_[x].prev = x;
    return;
  }
  const std::uint32_t tail = links_[head].prev;
  links_[tail].next = x;
  links_[x].prev = tail;
  links_[x].next = head;
  links_[head].prev = x;
}

void WordLists::remove(std::uint32_t x) {
  if (x >= links_.size() || links_[x].list == kNone) return;
  List& list = lists_[find(links_[x].list)];
  --list.count;
  if (links_[x].next == x) {
    list.head = kNone;
  } else {
    links_[links_[x].prev].next = links_[x].next;
    links_[links_[x].next].prev = links_[x].prev;
    if (list.head == x) list.head = links_[x].next;
  }
  links_[x].list = kNone;
}

std::uint32_t WordLists::word_of(std::uint32_t x) {
  if (x >= links_.size() || links_[x].list == kNone) return kNone;
  return classes_[lists_[find(links_[x].list)].cls].word;
}

std::uint32_t WordLists::word_of(std::uint32_t x) const {
  if (x >= links_.size() || links_[x].list == kNone) return kNone;
  return classes_[lists_[find(links_[x].list)].cls].word;
}

bool WordLists::rename(std::uint32_t word, std::uint32_t other) {
  const std::uint32_t c = class_of_[word];
  if (c == kNone) return false;
  class_of_[word] = kNone;
  const Class from = classes_[c];
  const bool any = lists_[from.unchanged].count + lists_[from.changed].count > 0;
  const std::uint32_t moved = join(from.changed, from.unchanged, c);
  const std::uint32_t d = class_of_[other];
  if (d == kNone) {
    classes_[c] = {other, new_list(c), moved, from.touched};
    class_of_[other] = c;
    touch(c);
  } else {
    classes_[d].changed = join(classes_[d].changed, moved, d);
    touch(d);
  }
  return any;
}

void WordLists::settle() {
  for (const std::uint32_t c : touched_) {
    Class& cls = classes_[c];
    cls.touched = false;
    if (class_of_[cls.word] != c) continue;  // joined another
    cls.unchanged = join(cls.unchanged, cls.changed, c);
    cls.changed = new_list(c);
  }
  touched_.clear();
}

std::size_t WordLists::count(std::uint32_t word, bool changed) const {
  const std::uint32_t c = class_of_[word];
  if (c == kNone) return 0;
  return lists_[changed ? classes_[c].changed : classes_[c].unchanged].count;
}

std::uint32_t WordLists::new_list(std::uint32_t cls) {
  const std::uint32_t list = static_cast<std::uint32_t>(lists_.size());
  lists_.push_back({list, kNone, 0, cls});
  return list;
}

std::uint32_t WordLists::class_for(std::uint32_t word) {
  if (class_of_[word] == kNone) {
    const std::uint32_t c = class_of_[word] = static_cast<std::uint32_t>(classes_.size());
    const std::uint32_t unchanged = new_list(c);
    classes_.push_back({word, unchanged, new_list(c), false});
  }
  return class_of_[word];
}

std::uint32_t WordLists::find(std::uint32_t list) {
  std::uint32_t root = list;
  while (lists_[root].parent != root) root = lists_[root].parent;
  while (lists_[list].parent != root) {
    const std::uint32_t up = lists_[list].parent;
    lists_[list].parent = root;
    list = up;
  }
  return root;
}

std::uint32_t WordLists::find(std::uint32_t list) const {
  while (lists_[list].parent != list) list = lists_[list].parent;
  return list;
}

// One list of the nodes of two roots, owned by class `cls`.
std::uint32_t WordLists::join(std::uint32_t a, std::uint32_t b, std::uint32_t cls) {
  if (lists_[a].count < lists_[b].count) std::swap(a, b);
  List& into = lists_[a];
  List& from = lists_[b];
  if (from.head != kNone && into.head != kNone) {
    const std::uint32_t into_tail = links_[into.head].prev, from_tail = links_[from.head].prev;
    links_[into_tail].next = from.head;
    links_[from.head].prev = into_tail;
    links_[from_tail].next = into.head;
    links_[into.head].prev = from_tail;
  } else if (into.head == kNone) {
    into.head = from.head;
  }
  into.count += from.count;
  from.parent = a;
  from.head = kNone;
  from.count = 0;
  into.cls = cls;
  return a;
}

void WordLists::touch(std::uint32_t cls) {
  if (classes_[cls].touched) return;
  classes_[cls].touched = true;
  touched_.push_back(cls);
}

}  // namespace glsl
