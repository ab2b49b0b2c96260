#include "image_format/name_table.h"

#include <array>
#include <span>

#include "image_format/releases.h"
#include "runtime/hex.h"

namespace vantrel {
namespace {

struct Character {
  std::uint8_t byte;
  std::string_view text;
};

// The characters outside the runs of digits and letters.
constexpr Character kCharacters[] = {
    {0x00, " "}, {0x01, "À"}, {0x02, "Á"}, {0x03, "Â"}, {0x04, "Ç"}, {0x05, "È"}, {0x06, "É"},
    {0x07, "Ê"}, {0x08, "Ë"}, {0x09, "Ì"}, {0x0B, "Î"}, {0x0C, "Ï"}, {0x0D, "Ò"}, {0x0E, "Ó"},
    {0x0F, "Ô"}, {0x10, "Œ"}, {0x11, "Ù"}, {0x12, "Ú"}, {0x13, "Û"}, {0x14, "Ñ"}, {0x15, "ß"},
    {0x16, "à"}, {0x17, "á"}, {0x19, "ç"}, {0x1A, "è"}, {0x1B, "é"}, {0x1C, "ê"}, {0x1D, "ë"},
    {0x1E, "ì"}, {0x20, "î"}, {0x21, "ï"}, {0x22, "ò"}, {0x23, "ó"}, {0x24, "ô"}, {0x25, "œ"},
    {0x26, "ù"}, {0x27, "ú"}, {0x28, "û"}, {0x29, "ñ"}, {0x2A, "º"}, {0x2B, "ª"}, {0x2D, "&"},
    {0x2E, "+"}, {0x35, "="}, {0x36, ";"}, {0x51, "¿"}, {0x52, "¡"}, {0x5A, "Í"}, {0x5B, "%"},
    {0x5C, "("}, {0x5D, ")"}, {0x68, "â"}, {0x6F, "í"}, {0x85, "<"}, {0x86, ">"}, {0xAB, "!"},
    {0xAC, "?"}, {0xAD, "."}, {0xAE, "-"}, {0xAF, "·"}, {0xB0, "…"}, {0xB1, "“"}, {0xB2, "”"},
    {0xB3, "‘"}, {0xB4, "’"}, {0xB5, "♂"}, {0xB6, "♀"}, {0xB7, "¥"}, {0xB8, ","}, {0xB9, "×"},
    {0xBA, "/"}, {0xF0, ":"}, {0xF1, "Ä"}, {0xF2, "Ö"}, {0xF3, "Ü"}, {0xF4, "ä"}, {0xF5, "ö"},
    {0xF6, "ü"},
};

// Digits from 0xA1, capitals from 0xBB, small letters from 0xD5.
constexpr std::string_view kDigits = "0123456789";
constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr std::uint8_t kFirstDigit = 0xA1;
constexpr std::uint8_t kFirstLetter = 0xBB;

struct Language {
  std::uint32_t number;
  std::string_view name;
};
constexpr Language kLanguages[] = {{kJapanese, "Japanese"}, {2, "English"}, {3, "French"},
                                   {4, "Italian"},          {5, "German"},  {7, "Spanish"}};

NameTable Unusable(NameTable table, std::string why) {
  table.names.clear();
  table.unusable = std::move(why);
  return table;
}

// A byte of the character set of the Latin-script releases, as UTF-8;
// nothing for a byte that is no character Vantrel knows (0xFF ends a name).
std::optional<std::string_view> CharacterOf(std::uint8_t byte) {
  if (byte >= kFirstDigit && byte < kFirstDigit + kDigits.size()) {
    return kDigits.substr(byte - kFirstDigit, 1);
  }
  if (byte >= kFirstLetter && byte < kFirstLetter + kLetters.size()) {
    return kLetters.substr(byte - kFirstLetter, 1);
  }
  for (const Character& character : kCharacters) {
    if (character.byte == byte) return character.text;
  }
  return std::nullopt;
}

}  // namespace

std::string LanguageText(std::uint32_t language) {
  for (const Language& known : kLanguages) {
    if (known.number == language) {
      return std::string(known.name) + " (language " + std::to_string(language) + ")";
    }
  }
  return "language " + std::to_string(language);
}

NameTable ReadNameTable(ByteSource& image, const ImageHeader& header) {
  NameTable table;
  if (!header.names_address) {
    return Unusable(
        table, "the image ends before its second header's word at " + HexNumber(kNamesAddressAt));
  }
  table.language = header.language.value_or(0);
  const std::uint32_t address = *header.names_address;
  if (address < kCartridgeAddress || address - kCartridgeAddress >= header.file_size) {
    return Unusable(table, "the image's names table's address, " + HexNumber(address) +
                               ", lies outside the image");
  }
  table.at = address - kCartridgeAddress;
  const std::string where = "the image's names table at " + HexNumber(*table.at);
  if (table.language == kJapanese) {
    return Unusable(table, where + " is in Japanese, whose characters Vantrel does not read");
  }
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(kNameEntries * kNameSize));
  if (image.Read(*table.at, bytes) < bytes.size()) {
    return Unusable(table, where + " runs past the end of the image");
  }
  table.names.resize(kNameEntries);
  for (int species = 1; species < kNameEntries; ++species) {
    const auto entry =
        std::span(bytes).subspan(static_cast<std::size_t>(species * kNameSize), kNameSize);
    const std::string name_at = "species " + std::to_string(species) + "'s name at " +
                                HexNumber(*table.at + species * kNameSize);
    std::string& name = table.names[static_cast<std::size_t>(species)];
    std::size_t length = 0;
    while (length < entry.size() && entry[length] != kNameEnd) {
      const std::optional<std::string_view> character = CharacterOf(entry[length]);
      if (!character) {
        return Unusable(table, name_at + " holds 0x" + HexByteDigits(entry[length]) +
                                   ", no character Vantrel knows");
      }
      name += *character;
      ++length;
    }
    if (length == entry.size()) {
      return Unusable(table,
                      name_at + " does not end within its " + std::to_string(kNameSize) + " bytes");
    }
  }
  return table;
}

}  // namespace vantrel
