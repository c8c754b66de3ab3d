// Renaming image names as tokens.
//
// Cut the text into tokens (tokens.h): words, the longest runs of
// identifier characters, and single other characters. A name matches as a
// whole word where it starts at a word and covers whole tokens: where the
// text's tokens equal its tokens and, when it ends in a character that is
// not an identifier character, the token after it is not a word. The
// sampler written in its place is one word between tokens that are not
// words, so a renaming replaces a run of tokens by one word and leaves the
// others as they are; a word stays a word. A name of one word relabels
// every token that carries it, at once. Tokens that cannot be in a match
// are kept as one node per run.
//
// A token is changed once a renaming relabelled or replaced it, and then it
// carries a sampler. A name that none of the changed tokens' words holds
// matches only over unchanged tokens, that is where it matched in the text
// as last read: a reading by an automaton of the names of several tokens
// still to come (ShortestNames) gives those places, the shortest name at
// each, and a place still holds while none of its tokens has gone (a count
// of the gone tokens by position answers in log time). The names matching
// at one place are prefixes of each other and the shortest comes first in
// the table: by the time a longer one comes, the shortest changed a token
// of the place or found one changed.
//
// A name holding a word that changed tokens carry can also match over them.
// Its matches are looked for either around every token that carries its
// least common word (each match holds one), or at its places plus around
// the changed tokens that carry one of its words, whichever looks at fewer
// tokens. The tokens of each word are kept in lists that a relabelling
// joins without visiting them (word_lists.h). When the looking since the
// last reading would come to more than a new reading of the text and the
// names still to come, the text is read again and every token counts as
// unchanged.
//
// Each name takes its matches left to right, skipping those that overlap
// one taken before, as a whole-word replacement over the text does. The
// output is the text with each changed token's sampler written over the
// stretch it stands for. The list and its steps are TokenList
// (token_list.h).
//
// Example: images "a" (tex0) and "tex0.x" (tex1), renamed in that order,
// over "a.x + tex0.x". The tokens are a . x + tex0 . x (blanks aside).
// "a" is one word: the node of "a" is relabelled "tex0" at once. "tex0.x"
// holds the word "tex0", which a changed node now carries, so besides its
// place from the reading (the second "tex0 . x") it looks around that
// node and matches there too: the text becomes "tex1 + tex1", as renaming
// "a" and then "tex0.x" as whole words over the whole text gives.
#include "glsl/renaming/token_renaming.h"

#include <cstdint>
#include <string_view>

#include "glsl/renaming/token_list.h"
#include "glsl/renaming/tokens.h"
#include "glsl/text/body_text.h"

namespace glsl {

bool rename_as_tokens(BodyText& body, const std::vector<const ImageEntry*>& names) {
  const std::string_view text = body.text();
  Vocabulary vocabulary;
  std::vector<TokenName> tokens(names.size());
  bool held[256] = {};  // the characters that names hold
  for (std::uint32_t i = 0; i < names.size(); ++i) {
    tokens[i].tokens = vocabulary.add_tokens(names[i]->first);
    tokens[i].sampler = vocabulary.add_sampler(names[i]->second);
    for (const std::uint32_t label : tokens[i].tokens) {
      if (!is_word(label)) held[label] = true;
    }
  }
  TokenList list(text, vocabulary, held, tokens);
  list.rename_all();
  if (!list.changed()) return false;
  return body.rewrite([&](auto& out) {
    out.reserve(room_for_rewrite(text.size()));
    list.write(out);
    return true;
  });
}

}  // namespace glsl
