// Suggestions for mistyped words.
#include "cli/suggest.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "cli/texts.h"

namespace {

// Edits between two words (optimal string alignment: adjacent swaps count one), without
// regard to case.
std::size_t Distance(std::string_view a, std::string_view b) {
    auto lower = [](char ch) { return std::tolower(static_cast<unsigned char>(ch)); };
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i)
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t cost = lower(a[i - 1]) == lower(b[j - 1]) ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && lower(a[i - 1]) == lower(b[j - 2]) && lower(a[i - 2]) == lower(b[j - 1]))
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

}  // namespace

std::string DidYouMean(std::string_view word, std::span<const std::string> known) {
    // Short words get one edit, longer ones two: "ls" is not "id".
    const std::size_t limit = word.size() <= 3 ? 1 : 2;
    const std::string* best = nullptr;
    std::size_t best_distance = limit + 1;
    for (const std::string& candidate : known) {
        const std::size_t distance = Distance(word, candidate);
        if (distance < best_distance) best = &candidate, best_distance = distance;
    }
    if (best == nullptr) {
        // A word cut short or ending otherwise ("deny" for "denied"): the one known word
        // that starts with the same three letters.
        auto letters = [](std::string_view text) { return text.substr(std::min(text.find_first_not_of('-'), text.size())); };
        const std::string_view stem = letters(word).substr(0, 3);
        for (const std::string& candidate : known) {
            if (stem.size() < 3 || !letters(candidate).starts_with(stem)) continue;
            if (best != nullptr) return "";  // not one word
            best = &candidate;
        }
    }
    return best != nullptr && *best != word ? Say(CliText::kDidYouMean, {*best}) : "";
}
