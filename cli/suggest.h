// "Did you mean ...?" for a word that is close to a known one.
#pragma once

#include <span>
#include <string>
#include <string_view>

// The known word closest to `word` within a small number of edits (a letter added,
// dropped, changed, or two swapped), as " (did you mean X?)"; empty when none is close.
std::string DidYouMean(std::string_view word, std::span<const std::string> known);
