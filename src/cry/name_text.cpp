#include "cry/name_text.h"

#include <cstddef>

namespace vantrel {
namespace {

struct Letter {
  std::string_view capital;
  std::string_view small;
  std::string_view plain;  // without its accent
};

constexpr Letter kAccented[] = {
    {"À", "à", "a"}, {"Á", "á", "a"}, {"Â", "â", "a"}, {"Ä", "ä", "a"},  {"Ç", "ç", "c"},
    {"È", "è", "e"}, {"É", "é", "e"}, {"Ê", "ê", "e"}, {"Ë", "ë", "e"},  {"Ì", "ì", "i"},
    {"Í", "í", "i"}, {"Î", "î", "i"}, {"Ï", "ï", "i"}, {"Ñ", "ñ", "n"},  {"Ò", "ò", "o"},
    {"Ó", "ó", "o"}, {"Ô", "ô", "o"}, {"Ö", "ö", "o"}, {"Œ", "œ", "oe"}, {"Ù", "ù", "u"},
    {"Ú", "ú", "u"}, {"Û", "û", "u"}, {"Ü", "ü", "u"}, {"ß", "ß", "ss"},
};

// The signs a built-in name writes in ASCII.
struct Sign {
  std::string_view sign;
  std::string_view ascii;
};
constexpr Sign kSigns[] = {{"♀", "-F"}, {"♂", "-M"}, {"’", "'"}};

enum class Case { kCapital, kSmall };

// The UTF-8 characters of `text`, one at a time.
template <typename Each>
void ForEachCharacter(std::string_view text, Each each) {
  for (std::size_t at = 0; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t size = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (at + size > text.size()) size = text.size() - at;
    each(text.substr(at, size));
    at += size;
  }
}

std::string InCase(std::string_view character, Case wanted) {
  if (character.size() == 1) {
    char c = character[0];
    if (wanted == Case::kCapital && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (wanted == Case::kSmall && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return std::string(1, c);
  }
  for (const Letter& letter : kAccented) {
    if (character == letter.capital || character == letter.small) {
      return std::string(wanted == Case::kCapital ? letter.capital : letter.small);
    }
  }
  return std::string(character);
}

bool IsBlank(std::string_view character) {
  return character == " " || character == "\t";
}

// In capitals, blanks dropped, signs as the built-in names write them.
std::string Comparable(std::string_view name) {
  std::string text;
  ForEachCharacter(name, [&](std::string_view character) {
    if (IsBlank(character)) return;
    for (const Sign& sign : kSigns) {
      if (character == sign.sign) {
        text += sign.ascii;
        return;
      }
    }
    text += InCase(character, Case::kCapital);
  });
  return text;
}

}  // namespace

std::string TitleCased(std::string_view name) {
  std::string text;
  bool word_starts = true;
  ForEachCharacter(name, [&](std::string_view character) {
    text += InCase(character, word_starts ? Case::kCapital : Case::kSmall);
    word_starts = IsBlank(character);
  });
  return text;
}

bool SameAsListed(std::string_view name, std::string_view listed) {
  return Comparable(name) == Comparable(listed);
}

std::string Folded(std::string_view text) {
  std::string folded;
  ForEachCharacter(Comparable(text), [&](std::string_view character) {
    for (const Letter& letter : kAccented) {
      if (character == letter.capital) {
        folded += letter.plain;
        return;
      }
    }
    folded += InCase(character, Case::kSmall);
  });
  return folded;
}

}  // namespace vantrel
