#pragma once

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

// The split of a command line into options and operands that every program
// here makes, over the platform's characters: char, or wchar_t for Windows'
// wide command line.
namespace vantrel {

// An argument that starts with a dash, other than "-", which names a
// standard stream by custom.
template <typename Char>
constexpr bool IsDashOption(std::basic_string_view<Char> argument) {
  return argument.size() > 1 && argument.front() == Char('-');
}

template <typename Char>
struct Arguments {
  struct Option {
    std::basic_string<Char> name;
    // The argument after an option that takes one; none when the option
    // ends the command line.
    std::optional<std::basic_string<Char>> value;
  };
  std::vector<Option> options;
  std::vector<std::basic_string<Char>> operands;
};

// Splits a program's arguments, without its name, into its options and its
// operands, each kept in order. "--" ends the options; after it, and
// wherever `is_option` says no, an argument is an operand. An option named
// in `with_value` takes the argument after it, whatever that is.
template <typename Char, typename IsOption = bool (*)(std::basic_string_view<Char>)>
Arguments<Char> SplitArguments(
    const std::vector<std::basic_string<Char>>& arguments,
    std::initializer_list<std::type_identity_t<std::basic_string_view<Char>>> with_value = {},
    IsOption is_option = IsDashOption<Char>) {
  static constexpr Char kEndOfOptions[] = {Char('-'), Char('-'), Char()};
  Arguments<Char> split;
  bool options_ended = false;
  for (auto next = arguments.begin(); next != arguments.end(); ++next) {
    const std::basic_string_view<Char> argument = *next;
    if (!options_ended && argument == kEndOfOptions) {
      options_ended = true;
    } else if (options_ended || !is_option(argument)) {
      split.operands.push_back(*next);
    } else {
      split.options.push_back({*next, std::nullopt});
      if (std::find(with_value.begin(), with_value.end(), argument) != with_value.end() &&
          next + 1 != arguments.end()) {
        split.options.back().value = *++next;
      }
    }
  }
  return split;
}

}  // namespace vantrel
