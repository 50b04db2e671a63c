#pragma once

#include <array>
#include <string_view>

namespace qm {

// The word fragments that keep a caption out of the suggestion list: profanity, hate and violence,
// adult content, and web addresses. All lower case, in the order they are tried. Some are covered by
// shorter ones ("xxx" by "xx", "female" by "male"); the list keeps them all.
inline constexpr std::array<std::string_view, 70> kBlockedFragments = {
    "bomb",    "terror",  "shit",   "nazi",    "hate",     "fear",   "death",    "die",      "dead",    "nasi",
    "satan",   "hell",    ".com",   ".org",    "www.",     ".net",   "http",     "nake",     "busty",   "boob",
    "voyeur",  "amateur", "horny",  "girl",    "babe",     "nasty",  "slut",     "bitch",    "adult",   "erotik",
    "erotic",  "eros",    "xxx",    "xx",      "sex",      "gay",    "fuck",     "erect",    "male",    "female",
    "enlarge", "penis",   "penile", "masturb", "ejaculat", "virgin", "hardcore", "teen",     "toy",     "kinky",
    "beaver",  "anal",    "whore",  "xtrem",   "orgasm",   "clitor", "climax",   "makeover", "swinger", "kama",
    "sutra",   "cum",     "stalk",  "playboy", "playmate", "blonde", "brunette", "redhead",  "viagra",  "rape",
};

// True when the caption holds any blocked fragment as a plain substring, the letters A-Z compared
// without regard to case (every other byte as it is). There is no notion of words: "die" blocks
// "Studies". One pass over the caption, however many fragments there are; no state is kept.
bool IsBlockedHeadline(std::string_view caption);

} // namespace qm
