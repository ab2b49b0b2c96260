#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// Species names as text, in UTF-8: the letters whose case and accents these
// know are ASCII's and the accented Latin letters of the game's character
// set (À to ü); any other character is kept as it is.

// Each word, split at blanks, with its first character a capital and the
// rest small: "DRACAUFEU" is "Dracaufeu", "M. MIME" "M. Mime", "HO-OH"
// "Ho-oh".
std::string TitleCased(std::string_view name);

// Whether a name as an image spells it is the built-in `listed` name, only
// written otherwise: in capitals, with blanks dropped and ♀, ♂ and ’ written
// -F, -M and ' ("MR. MIME" is "Mr.Mime", "NIDORAN♀" "Nidoran-F").
bool SameAsListed(std::string_view name, std::string_view listed);

// A name as a user may type it, and as it is compared with what they type:
// small letters without accents, blanks dropped, ♀, ♂ and ’ as -f, -m and '
// ("Salamèche" and "salameche" are "salameche").
std::string Folded(std::string_view text);

}  // namespace vantrel
