#pragma once

#include <concepts>
#include <string>
#include <string_view>

namespace vantrel {
class RuntimeError;
}  // namespace vantrel

namespace vantrel::cli {

// Where the tool prints: a standard stream, or text kept for a test. Not an
// iostream: the streams' start-up (the eight standard streams and their
// locale) costs more than the tool's whole work on an image.
class Output {
 public:
  virtual ~Output() = default;
  Output& operator<<(std::string_view text) {
    Put(text);
    return *this;
  }
  Output& operator<<(char c) { return *this << std::string_view(&c, 1); }
  // Numbers are put as text by the caller (std::to_string), never as a char.
  template <std::integral Number>
  requires(!std::same_as<Number, char>) Output& operator<<(Number) = delete;

  // Puts out what is held; false when anything put so far could not be.
  virtual bool Flush() = 0;

 protected:
  virtual void Put(std::string_view bytes) = 0;
};

// A standard stream by its descriptor. What is put is held until a line ends
// (`by_line`) or until Flush, so that a line goes out in one write.
class DescriptorOutput final : public Output {
 public:
  DescriptorOutput(int descriptor, bool by_line) : descriptor_(descriptor), by_line_(by_line) {}
  ~DescriptorOutput() override { Flush(); }
  DescriptorOutput(const DescriptorOutput&) = delete;
  DescriptorOutput& operator=(const DescriptorOutput&) = delete;
  bool Flush() override;

 private:
  void Put(std::string_view bytes) override;

  int descriptor_;
  bool by_line_;
  bool failed_ = false;
  std::string held_;
};

// Text kept in memory, for tests; `fails` makes it a stream that cannot be
// written, as a full disk is.
class TextOutput final : public Output {
 public:
  bool Flush() override { return !fails; }

  std::string text;
  bool fails = false;

 private:
  void Put(std::string_view bytes) override { text += bytes; }
};

// A file failure, where it is caught: one line on the error stream ("Error:
// 53: File not found"), led by `lead` (the image's name, when a command
// works on several).
void PrintFailure(Output& err, std::string_view lead, const RuntimeError& error);

}  // namespace vantrel::cli
