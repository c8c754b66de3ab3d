// The fast scanning and rewriting against the plain readings of the rules in
// tests/reference, on generated bodies rich in the characters that the
// rules care about: names, parentheses, commas, blanks, comment marks, NULs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "glsl/assemble.h"
#include "glsl/calls/blank_skip.h"
#include "glsl/calls/call_syntax.h"
#include "glsl/calls/macro_rewrite.h"
#include "glsl/rules/rule_tables.h"
#include "glsl/text/body_text.h"
#include "glsl/text/names_present.h"
#include "glsl/text/whole_word.h"
#include "glsl/text/word_search.h"
#include "reference_rewrite.h"

namespace {

const std::vector<std::string> kPieces = {
    "IMG_SIZE", "IMG_PIXEL", "IMG", "img", "img ", "x", "_", "2", "(", "(", ")", ")", ",", ",",
    " ", " ", "\n", "\r\n", "\t", "/*", "*/", "/", "*", "/**/", "main", "void", "{", "}",
    std::string(1, '\0'), "[", "]", ".", "IMG_SIZE(img)", "IMG_PIXEL(img, ", "IMG_PIXEL (img,",
    "(img", "img)", ", img", "/*(*/", "/*)*/", "/*,*/", "IMG_SIZE/*", "main(){", "void main()\n{\r\n",
    "/*/", "IMG_PIXEL( /*/", "IMG_PIXEL( /*",
    // Chains long enough for the skips to be answered by the pass from the end.
    "IMG_SIZE/*IMG_SIZE/*IMG_SIZE/*IMG_SIZE/*IMG_SIZE/*IMG_SIZE/*",
    "IMG_PIXEL(/*IMG_PIXEL(/*IMG_PIXEL(/*IMG_PIXEL(/*IMG_PIXEL(/*IMG_PIXEL(/*"};

std::string random_body(std::mt19937& rng, std::size_t pieces) {
  std::uniform_int_distribution<std::size_t> pick(0, kPieces.size() - 1);
  std::string body;
  for (std::size_t i = 0; i < pieces; ++i) body += kPieces[pick(rng)];
  return body;
}

std::string shown(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '\0' ? std::string("\\0") : std::string(1, c);
  return out;
}

TEST(Differential, WordSearchFindsEveryOccurrence) {
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> letter(0, 1);
  char other = 'b';
  const auto word_of = [&](std::size_t length) {
    std::string word;
    for (std::size_t i = 0; i < length; ++i) word += letter(rng) ? 'a' : other;
    return word;
  };
  for (int round = 0; round < 1200; ++round) {
    // With a capital the search jumps to it; in text full of near-misses it
    // falls back to the automaton.
    other = round % 5 < 2 ? 'B' : 'b';
    // Short words take the automaton, long ones the failure links.
    const std::size_t length = round % 2 ? 1 + round % 5 : 255 + round % 7;
    const std::string word = round % 3 ? word_of(length) : std::string(length, 'a');
    std::string text;
    while (text.size() < 3 * length) text += round % 4 ? word_of(length / 2 + 1) : word;
    glsl::WordSearch search(text, word);
    std::size_t expected = text.find(word);
    for (std::size_t from = 0; from <= text.size(); from += 1 + round % 3) {
      if (expected < from) expected = text.find(word, from);
      ASSERT_EQ(search.next(from), expected) << text << " / " << word << " from " << from;
    }
  }
}

TEST(Differential, SkipFromTheEndEqualsSkippingFromEachPosition) {
  std::mt19937 rng(7);
  for (int round = 0; round < 2000; ++round) {
    const std::string text = reference::up_to_nul(random_body(rng, 4 + round % 30));
    std::vector<std::size_t> fast(text.size() + 1);
    glsl::skip_from_the_end(text, 0, [&](std::size_t x, std::size_t skip) { fast[x] = skip; });
    for (std::size_t x = 0; x <= text.size(); ++x) {
      ASSERT_EQ(fast[x], glsl::skip_blanks_and_comments(text, x)) << shown(text) << " at " << x;
      ASSERT_EQ(fast[x], reference::skip_blanks_and_comments(text, x)) << shown(text) << " at " << x;
    }
  }
}

TEST(Differential, SkipAtEqualsSkippingFromEachPosition) {
  std::mt19937 rng(5);
  for (int round = 0; round < 2000; ++round) {
    // Every position a query: long comments make the one-by-one reading
    // exceed its budget and hand over to the pass from the end.
    const std::string text = reference::up_to_nul(random_body(rng, 4 + round % 30));
    std::vector<std::uint32_t> queries(text.size() + 1), skips;
    for (std::size_t x = 0; x <= text.size(); ++x) queries[x] = static_cast<std::uint32_t>(x);
    glsl::skip_at(text, queries, skips);
    for (std::size_t x = 0; x <= text.size(); ++x) {
      ASSERT_EQ(skips[x], reference::skip_blanks_and_comments(text, x)) << shown(text) << " at " << x;
    }
  }
}

TEST(Differential, ReplaceAgreesWithTheReference) {
  std::mt19937 rng(11);
  for (int round = 0; round < 5000; ++round) {
    const std::string text = random_body(rng, round % 20);
    for (const char* old_name : {"img", "IMG_SIZE", "x", "img x", "/*", "x(", "2x"}) {
      glsl::BodyText body(text);
      bool slow = false;
      const bool fast = body.replace_whole_word(old_name, "tex0");
      ASSERT_EQ(body.text(), reference::replace_whole_word(text, old_name, "tex0", slow))
          << shown(text) << old_name;
      ASSERT_EQ(fast, slow) << shown(text);
    }
  }
}

TEST(Differential, ImageMacroRewriteAgreesWithTheReference) {
  const std::vector<glsl::MacroRewrite> rewrites = {
      {"IMG_SIZE", "", 1, "img", "resolution_tex0", "", ""},
      {"IMG_SIZE", "f", 1, "img", "s", "", "t"},
      {"IMG_PIXEL", "texture2D", 2, "img", "tex0", "/resolution", ""},
      {"IMG_PIXEL", "texture2D", 2, "img", "tex0", "", ""},
      {"IMG_PIXEL", "", 2, "img", "tex0", "/r", "t"},
      {"IMG_PIXEL", "g", 2, "", "", "", ""},
      {"IMG_SIZE", "g", 1, "", "", "", "z"},
      {"IMG_SIZE", "g", 0, "", "", "", ""},
      {"IMG_SIZE", "g", 3, "x", "y", "", ""},
      {"IMG_PIXEL", "h", 2, "img ", "q", "", ""},
      {"IMG_PIXEL", "h", 1, "(x)", "q", "", ""},
      {"img", "h", 1, "x", "q", "", ""},
  };
  std::mt19937 rng(13);
  int rewritten = 0;
  for (int round = 0; round < 20000; ++round) {
    const std::string text = random_body(rng, 4 + round % 40);
    for (const glsl::MacroRewrite& r : rewrites) {
      glsl::BodyText body(text);
      bool slow = false;
      const bool fast = body.rewrite_image_macro(r);
      ASSERT_EQ(body.text(), reference::rewrite_image_macro(text, r, slow))
          << shown(text) << " " << r.macro_name;
      ASSERT_EQ(fast, slow) << shown(text);
      rewritten += slow ? 1 : 0;
    }
  }
  // The generated bodies must exercise both outcomes, not only unchanged copies.
  EXPECT_GT(rewritten, 20000);
}

TEST(Differential, NamesPresentAgreeWithFind) {
  const std::vector<std::string_view> names = {"img", "IMG_SIZE", "x", "", "img x", "/*", "(img",
                                               "mg", "g", "IMG", "_x", "**/", "2(", "main"};
  const glsl::NamesPresent present(names);
  std::mt19937 rng(31);
  for (int round = 0; round < 5000; ++round) {
    const std::string text = random_body(rng, round % 20);
    std::vector<std::uint32_t> expected;
    for (std::uint32_t i = 0; i < names.size(); ++i) {
      if (text.find(names[i]) != std::string::npos) expected.push_back(i);
    }
    ASSERT_EQ(present.in(text), expected) << shown(text);
  }
}

TEST(Differential, BuiltinsInOneReadingEqualTheTableRowByRow) {
  const std::vector<std::string> pieces = {"TIME", "TIMEDELTA", "DATE", "RENDERSIZE", "FRAMEINDEX",
                                           "TIM", "_", "2", " ", ".", "x", "(", std::string(1, '\0')};
  std::mt19937 rng(19);
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
  for (int round = 0; round < 5000; ++round) {
    std::string body;
    for (int i = 0; i < round % 25; ++i) body += pieces[pick(rng)];
    std::string expected = body;
    std::string declared;
    for (const glsl::Builtin& row : glsl::kBuiltins) {
      bool replaced = false;
      expected = reference::replace_whole_word(expected, row.isf_name, row.host_name, replaced);
      if (replaced) declared += std::string(row.isf_name);
    }
    glsl::BodyText got(body);
    std::string uniforms;
    got.replace_builtins(uniforms, false);
    ASSERT_EQ(got.text(), expected) << shown(body);
    std::string names;
    for (const glsl::Builtin& row : glsl::kBuiltins) {
      if (uniforms.find(row.declaration) != std::string::npos) names += std::string(row.isf_name);
    }
    ASSERT_EQ(names, declared) << shown(body);
  }
}

// Image passes and renaming with names that chain: a sampler, or the size
// uniform an IMG_SIZE call becomes, is another image's name, alone or among
// other characters; names that are not identifiers are prefixes or suffixes
// of each other, or end in a character that is not an identifier character.
TEST(Differential, WholeStageAgreesWithTheReference) {
  const std::vector<std::string> pieces = {
      "IMG_SIZE(", "IMG_PIXEL(", "IMG_NORM_PIXEL(", "IMG_THIS_PIXEL(", "IMG_SIZE", "img", "tex1",
      "resolution_tex1", "a.b", "b", "a", "x", ", ", ",", "(", ")", ")", ")", " ", "\n", "/*", "*/",
      "/*(*/", "_inputImage_imgRect", "void main(){", "}", "TIME", ".", std::string(1, '\0'),
      "a.", "a.a", ".a", "c.", "tex0", "tex2", "x y", "2", "_", "IMG_SIZE(IMG_SIZE(img))",
      "IMG_SIZE/*(*/"};
  const std::map<std::string, std::string> tables[] = {
      {{"img", "tex1"}, {"resolution_tex1", "tex0"}, {"tex1", "tex2"}},
      {{"a", "tex0"}, {"a.b", "tex1"}, {"b", "a"}, {"img", "tex2"}},
      {{"img", "tex0"}, {"tex0", "img"}},
      {{"", "tex0"}, {"img", "tex1"}},
      {{"a", "tex0"}, {"a.", "tex1"}, {"a. b", "tex3"}, {"a.b", "tex2"}, {"a.b.c", "tex4"},
       {"tex0.b", "tex5"}, {"tex5", "tex6"}, {"x", "tex8"}, {"x y", "tex7"}, {"2x", "tex9"}},
      {{"a.a", "tex0"}, {"a.a.a", "tex1"}, {"b.a", "tex2"}, {"b.a.a", "tex3"}, {"c.b.a", "tex4"},
       {"tex2.a", "tex5"}, {"tex2 .a", "tex6"}, {"tex6", "tex0"}, {"x y", "x"}},
      {{"a", "tex0"}, {"tex0.b", "tex1"}},
      // Enough images missing from a body that names "resolution_tex1" only
      // once a rewrite made it, for the names to be read again.
      {{"img", "tex1"}, {"m0", "tex3"}, {"m1", "tex4"}, {"m2", "tex5"}, {"m3", "tex6"},
       {"m4", "tex7"}, {"resolution_tex1", "tex0"}, {"tex1", "tex2"}},
  };
  std::mt19937 rng(29);
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
  for (int round = 0; round < 6000; ++round) {
    std::string body;
    for (int i = 0; i < round % 40; ++i) body += pieces[pick(rng)];
    for (const auto& table : tables) {
      std::string uniforms = "u;\n";
      std::string rewritten = glsl::rewrite_body(body, uniforms, table);
      ASSERT_EQ(glsl::assemble("", "", uniforms, std::move(rewritten)),
                reference::rewrite_and_assemble(body, "", "", "u;\n", table))
          << shown(body);
    }
  }
}

// Nested and touching calls, where the passes of one image change the first
// arguments that later images match: names that are samplers, size
// uniforms or whole calls of other images.
std::string random_call(std::mt19937& rng, int depth) {
  static const char* const macros[] = {"IMG_SIZE", "IMG_PIXEL", "IMG_NORM_PIXEL", "IMG_THIS_PIXEL",
                                       "IMG_THIS_NORM_PIXEL"};
  static const char* const names[] = {"a", "b", "c", "tex0", "tex1", "resolution_tex1", "b ", "p"};
  std::uniform_int_distribution<int> pick(0, 99);
  const auto argument = [&](int d) {
    const int k = pick(rng);
    if (d > 0 && k < 45) return random_call(rng, d - 1);
    if (d > 0 && k < 55) return "x+" + random_call(rng, d - 1) + random_call(rng, d - 1);
    return std::string(names[pick(rng) % 8]);
  };
  std::string call = macros[pick(rng) % 5];
  // Comments after the name and after "(": regular while their
  // parentheses pair up and no comma stands outside them.
  static const char* const comments[] = {"", "", "", " /*c*/ ", "/* (x, y) */", "/*,*/",
                                         "/*(*/", "/*)(*/"};
  call += comments[pick(rng) % 8];
  call += "(";
  call += comments[pick(rng) % 8];
  call += argument(depth);
  const int more = pick(rng) % 10;
  if (more < 7) call += pick(rng) < 50 ? ", " + argument(depth) : "," + argument(depth);
  if (more == 0) call += ", " + argument(depth);
  if (pick(rng) < 97) call += ")";
  return call;
}

TEST(Differential, NestedCallsAgreeWithTheReference) {
  const std::map<std::string, std::string> tables[] = {
      {{"a", "tex1"}, {"b", "tex2"}, {"c", "tex0"}, {"resolution_tex1", "tex3"}, {"tex1", "tex4"}},
      {{"IMG_SIZE(b)", "tex0"}, {"b", "tex1"}, {"resolution_tex1", "tex2"}, {"tex2", "tex3"}},
      {{"a", "tex0"}, {"b ", "tex1"}, {"p", "tex2"}, {"texture2D(tex0, gl_TexCoord[0].xy)", "tex3"}},
      {{"a", "tex1"}, {"resolution_tex1", "tex0"}, {"texture2D(tex0, gl_TexCoord[0].xy)", "tex2"}},
      {{"", "tex0"}, {"a", "tex1"}, {"b", "tex2"}},
      // A size uniform that ends in no identifier character.
      {{"a", "s)"}, {"b", "tex2"}, {"c", "tex0"}},
  };
  // Rare in the generated bodies: a call right after a size uniform, a
  // comma in a comment that goes with its call, the ")" a rewrite adds at
  // the end closing a call left open in its argument.
  const std::vector<std::string> cases = {
      "IMG_SIZE(a)IMG_PIXEL(b, p)", "IMG_PIXEL(c, IMG_SIZE(a)IMG_PIXEL(b, p))",
      "IMG_NORM_PIXEL(b, IMG_SIZE/*,*/(a))", "IMG_NORM_PIXEL(a, IMG_PIXEL(a, p"};
  std::mt19937 rng(37);
  std::uniform_int_distribution<int> pick(0, 99);
  for (std::size_t round = 0; round < 4000 + cases.size(); ++round) {
    std::string body = round < cases.size() ? cases[round] : "";
    for (std::size_t i = 0; round >= cases.size() && i < 1 + round % 4; ++i) {
      body += random_call(rng, 1 + static_cast<int>(round % 4));
      body += pick(rng) < 30 ? "" : ";\n";
    }
    for (const auto& table : tables) {
      std::string uniforms;
      std::string rewritten = glsl::rewrite_body(body, uniforms, table);
      ASSERT_EQ(glsl::assemble("", "", uniforms, std::move(rewritten)),
                reference::rewrite_and_assemble(body, "", "", "", table))
          << shown(body);
    }
  }
}

// Renaming on random tables whose names chain through the samplers: a name
// holds an earlier sampler, is one, ends in '.', or is a prefix of another;
// samplers are later names, or not identifiers.
TEST(Differential, RenamingAgreesWithTheReference) {
  const std::vector<std::string> words = {"a", "b", "t", "_2", "tex0", "tex1"};
  const std::vector<std::string> others = {".", ".", " ", "(", "2"};
  const std::vector<std::string> samplers = {"tex0", "tex1", "tex2", "a", "b", "t"};
  std::mt19937 rng(37);
  const auto pick = [&](const std::vector<std::string>& from) {
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(rng)];
  };
  const auto piece = [&] { return rng() % 2 ? pick(words) : pick(others); };
  for (int round = 0; round < 30000; ++round) {
    // Fixed tables too: a word renamed away and then written again by another
    // name, beside a name holding it that the text holds often.
    std::map<std::string, std::string> table;
    if (round % 5 == 0) table = {{"a", "tex0"}, {"b", "a"}, {"t.a", "tex1"}};
    if (round % 5 == 1) table = {{"a.a", "tex0"}, {"t", "tex1"}, {"tex0.a", "t"}, {"tex1.t", "a"}};
    // And many names of frequent words, each holding the sampler of "a", on
    // long bodies naming them: looking around the changed words comes to cost
    // more than reading the text again.
    if (round % 5 == 2) table = {{"a", "tex0"}};
    while (round % 5 == 2 && table.size() < 25) {
      std::string name = rng() % 2 ? "tex0" : "b";
      for (int j = 0; j < 2; ++j) name += std::string(rng() % 2 ? "." : "(") + pick({"tex0", "b", "a"});
      table.emplace(name, pick(samplers));
    }
    std::vector<std::string> names;
    for (const auto& entry : table) names.push_back(entry.first);
    for (int i = 0; i < (table.empty() ? 1 + round % 6 : 0); ++i) {
      std::string name = pick(words);
      for (unsigned j = rng() % 4; j > 0; --j) name += piece() + piece();
      const std::string sampler = round % 7 == 0 && i == 1 ? std::string(". ") : pick(samplers);
      if (table.emplace(name, sampler).second) names.push_back(name);
    }
    std::string body;
    for (int i = 0; i < (round % 5 == 2 ? 120 : round % 30); ++i) body += rng() % 3 ? piece() : pick(names);
    std::string expected = body;
    bool replaced = false;
    for (const auto& [name, sampler] : table) {
      expected = reference::replace_whole_word(expected, name, sampler, replaced);
    }
    glsl::BodyText renamed(body);
    renamed.rename_images(table);
    ASSERT_EQ(renamed.text(), expected) << shown(body);
  }
}

// Every original line opens with its own mark "q<line>_", which no rewrite
// makes or changes: a rewritten line that opens with a mark must map to it.
TEST(Differential, LineMapFollowsTheLinesThroughEveryRewrite) {
  const std::map<std::string, std::string> images[] = {
      {}, {{"img", "tex0"}, {"img x", "tex1"}}, {{"img", "tex0"}, {"tex0.x", "tex1"}, {"tex1", "x"}}};
  std::mt19937 rng(23);
  for (int round = 0; round < 4000; ++round) {
    std::string body;
    for (int i = 0; i < 1 + round % 9; ++i) {
      const auto line = std::count(body.begin(), body.end(), '\n');
      body += "q" + std::to_string(line) + "_ " + random_body(rng, round % 12) + "\n";
    }
    for (const auto& table : images) {
      std::string uniforms;
      std::vector<std::size_t> lines;
      const std::string text = glsl::rewrite_body(body, uniforms, table, &lines);
      std::vector<std::size_t> starts = {0};
      for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\n') starts.push_back(at + 1);
      }
      ASSERT_EQ(lines.size(), starts.size()) << shown(body);
      for (std::size_t i = 0; i < starts.size(); ++i) {
        if (text.compare(starts[i], 1, "q") != 0) continue;
        const std::size_t mark = std::stoul(text.substr(starts[i] + 1));
        ASSERT_EQ(lines[i], mark) << shown(body) << " line " << i;
      }
    }
  }
}

TEST(Differential, InsertIntoMainAgreesWithTheReference) {
  std::mt19937 rng(17);
  for (int round = 0; round < 20000; ++round) {
    const std::string text = random_body(rng, round % 30);
    glsl::BodyText body(text);
    body.insert_into_main("P;");
    ASSERT_EQ(body.text(), reference::insert_into_main(text, "P;")) << shown(text);
  }
}

}  // namespace
