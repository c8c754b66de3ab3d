// Plain, character-by-character readings of the scanning and rewriting rules,
// slow on purpose (each call's ")" searched to the end, each split redone):
// the differential tests hold the fast implementation to them.
#pragma once

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace reference {

inline bool ident(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}
inline bool name_start(char c) { return ident(c) && !(c >= '0' && c <= '9'); }
inline bool blank(char c) { return std::strchr(" \t\n\v\f\r", c) != nullptr && c != '\0'; }

// The text as a C string: up to its first NUL.
inline std::string c_text(std::string_view text) { return std::string(text.substr(0, text.find('\0'))); }

inline std::size_t skip_comments(const std::string& t, std::size_t i) {
  for (;;) {
    if (i < t.size() && blank(t[i])) {
      ++i;
    } else if (i + 1 < t.size() && t[i] == '/' && t[i + 1] == '*') {
      std::size_t j = i + 2;
      while (j + 1 < t.size() && !(t[j] == '*' && t[j + 1] == '/')) ++j;
      i = j + 1 < t.size() ? j + 2 : t.size();
    } else {
      return i;
    }
  }
}

inline std::vector<std::string> split(std::string_view input) {
  const std::string t = c_text(input);
  std::vector<std::string> out;
  std::size_t i = skip_comments(t, 0);
  if (i >= t.size()) return out;
  std::size_t start = i;
  int depth = 0;
  while (i < t.size()) {
    const char c = t[i];
    if (blank(c)) {
    } else if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (depth <= 0) break;
      --depth;
    } else if (c == ',' && depth == 0) {
      out.push_back(t.substr(start, i - start));
      ++i;
      while (i < t.size() && blank(t[i])) ++i;
      start = i;
      continue;
    }
    ++i;
  }
  if (i > start) out.push_back(t.substr(start, i - start));
  return out;
}

// The cursor walk shared by the whole-word replacement and the macro
// rewrite: `at_word` decides what a whole-word occurrence becomes and returns
// how far the cursor moves, 0 to copy one character.
template <class AtWord>
std::string walk(std::string_view input, std::string_view name, AtWord&& at_word) {
  const std::string t = c_text(input);
  const char c0 = name.empty() ? '\0' : name[0];
  std::string out;
  std::size_t i = 0;
  while (i < t.size()) {
    if (!name_start(t[i]) || t[i] != c0 || (i > 0 && ident(t[i - 1]))) {
      out += t[i++];
      continue;
    }
    if (t.size() - i < name.size()) {
      out += t.substr(i);
      break;
    }
    const bool follows_ident = i + name.size() < t.size() && ident(t[i + name.size()]);
    if (t.compare(i, name.size(), name) == 0 && !follows_ident) {
      const std::size_t moved = at_word(t, i, out);
      if (moved > 0) {
        i += moved;
        continue;
      }
    }
    out += t[i++];
  }
  return out;
}

inline std::string replace(std::string_view text, std::string_view old_name,
                           std::string_view new_name, bool& replaced) {
  replaced = false;
  return walk(text, old_name, [&](const std::string&, std::size_t, std::string& out) {
    out += new_name;
    replaced = true;
    return old_name.size();
  });
}

struct Rewrite {
  std::string macro, function;
  std::size_t count;
  std::string image, first, suffix, trailing;
};

inline std::string rewrite(std::string_view text, const Rewrite& r, bool& replaced) {
  replaced = false;
  return walk(text, r.macro, [&](const std::string& t, std::size_t i, std::string& out) -> std::size_t {
    const std::size_t open = skip_comments(t, i + r.macro.size());
    if (open >= t.size() || t[open] != '(') return 0;
    std::size_t close = open + 1;
    for (int depth = 0; close < t.size(); ++close) {
      if (t[close] == '(') ++depth;
      if (t[close] == ')' && depth-- == 0) break;
    }
    std::vector<std::string> args = split(t.substr(open + 1, close - open - 1));
    if (args.size() != r.count) return 0;
    if (!r.image.empty() && (args.empty() || args[0] != r.image)) return 0;
    if (!r.image.empty()) args[0] = r.first;
    const std::string a1 = args.empty() ? "" : args[0];
    std::string s;
    if (!r.function.empty()) {
      s = r.function + "(" + a1;
      if (r.count == 2) s += r.suffix.empty() ? ", " + args[1] : ", (" + args[1] + ")" + r.suffix;
      if (!r.trailing.empty()) s += ", " + r.trailing;
      s += ")";
    } else {
      s = a1;
      if (r.count == 2) s += ", " + args[1];
      if (!r.trailing.empty()) s += ", " + r.trailing;
    }
    out += s;
    replaced = true;
    return (close < t.size() ? close + 1 : t.size()) - i;
  });
}

// The entry-point search: every "main" judged by its neighbours in the body.
inline std::string insert_into_main(const std::string& body, const std::string& prologue) {
  const std::string t = c_text(body);
  for (std::size_t from = 0;;) {
    const std::size_t m = t.find("main", from);
    if (m == std::string::npos) return body;
    from = m + 4;
    if ((m > 0 && ident(t[m - 1])) || (m + 4 < t.size() && ident(t[m + 4]))) continue;
    std::size_t i = m + 4;
    const auto skip = [&] { while (i < body.size() && blank(body[i])) ++i; };
    skip();
    bool paren = false;
    if (i < body.size() && body[i] == '(') { ++i; skip(); paren = true; }
    if (body.compare(i, 4, "void") == 0) { i += 4; skip(); }
    if (!paren || i >= body.size() || body[i] != ')') continue;
    ++i;
    skip();
    if (i >= body.size() || body[i] != '{') continue;
    ++i;
    while (i < body.size() && std::strchr(" \t\v\f", body[i]) && body[i] != '\0') ++i;
    if (i < body.size() && body[i] == '\r') ++i;
    if (i < body.size() && body[i] == '\n') ++i;
    return body.substr(0, i) + prologue + "\n" + body.substr(i);
  }
}

}  // namespace reference
