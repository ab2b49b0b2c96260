#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// The main window's layout as plain data, read by every front end: sizes and
// positions in twips from the top left of the client area, controls in
// stacking order, topmost first.
namespace vantrel::layout {

inline constexpr int kTwipsPerPixel = 15;

// Pixels at 96 dots per inch, times the screen's scale.
constexpr int TwipsToPixels(int twips, double scale = 1.0) {
  const double pixels = static_cast<double>(twips) / kTwipsPerPixel * scale;
  return static_cast<int>(pixels + 0.5);
}

enum class ControlKind { kCommandButton, kDropDownList, kLabel, kPicture };

inline constexpr int kAnsiCharset = 0;
inline constexpr int kHebrewCharset = 177;

struct Font {
  std::string_view family;
  double points;
  bool bold;
  int charset;
};

// The fonts the table names come with another system; where they are not
// installed, this stands in, at the same size and weight.
constexpr std::string_view SubstituteFor(std::string_view family) {
  if (family == "Comic Sans MS") return "Comic Neue";
  return "DejaVu Sans";
}

// A colour: the system's default for the control, a fixed RGB value, or one
// of the system's colours by its index (6 is the window-frame colour).
struct Color {
  enum class Kind { kDefault, kRgb, kSystem };
  Kind kind = Kind::kDefault;
  std::uint8_t red = 0, green = 0, blue = 0;
  int system_index = 0;
};

inline constexpr int kSystemWindowFrame = 6;
inline constexpr int kNoTabStop = -1;

struct Control {
  std::string_view name;
  ControlKind kind;
  std::string_view caption;
  int left, top, width, height;
  int tab_index;  // kNoTabStop for the picture
  bool enabled_at_start;
  std::optional<Font> font;  // none for the picture
  Color fore{};
  Color back{};
};

inline constexpr Font kButtonFont{"MS Sans Serif", 8.25, false, kHebrewCharset};

inline constexpr std::array<Control, 9> kControls{{
    {"cmdPlay", ControlKind::kCommandButton, "Play", 2880, 2040, 735, 360, 4, false, kButtonFont},
    {"Command1", ControlKind::kCommandButton, "Remove Cry", 2520, 3240, 1095, 495, 6, false,
     kButtonFont},
    {"cryRestore", ControlKind::kCommandButton, "Restore Removed Cry", 3720, 3240, 1815, 495, 5,
     false, kButtonFont},
    {"cmbPoke", ControlKind::kDropDownList, "", 840, 2040, 1935, 360, 3, false,
     Font{"Levenim MT", 9, true, kHebrewCharset}},
    {"cmdSave", ControlKind::kCommandButton, "Save ROM", 1200, 3240, 1215, 495, 1, false,
     kButtonFont},
    {"cmdOpen", ControlKind::kCommandButton, "Open ROM", 0, 3240, 1095, 495, 0, true, kButtonFont},
    {"Label2", ControlKind::kLabel, "Made By: Dorvik", 0, 3720, 3375, 375, 7, true,
     Font{"Comic Sans MS", 9, true, kAnsiCharset}, Color{Color::Kind::kRgb, 192, 255, 255, 0},
     Color{Color::Kind::kSystem, 0, 0, 0, kSystemWindowFrame}},
    {"Image1", ControlKind::kPicture, "", 0, 0, 6120, 4440, kNoTabStop, false, std::nullopt},
    {"Label1", ControlKind::kLabel, "Select Pok\xC3\xA9mon:", 480, 2040, 1575, 375, 2, true,
     kButtonFont},
}};

struct Window {
  std::string_view caption;
  int client_width, client_height;
  Font font;
};

inline constexpr Window kWindow{"Vantrel", 5745, 4125, Font{"Verdana", 8.25, false, kAnsiCharset}};

// A control of the table by its name. The name is checked when the program
// is built: one the table does not hold fails to compile.
class ControlName {
 public:
  template <std::size_t N>
  consteval ControlName(const char (&name)[N]) : row_(RowNamed(std::string_view(name, N - 1))) {}
  // The name of a row of kControls.
  constexpr ControlName(const Control& row)
      : row_(static_cast<std::size_t>(&row - kControls.data())) {}

  constexpr std::size_t Row() const { return row_; }
  constexpr bool operator==(const ControlName&) const = default;

 private:
  static consteval std::size_t RowNamed(std::string_view name) {
    for (std::size_t row = 0; row < kControls.size(); ++row) {
      if (kControls[row].name == name) return row;
    }
    throw "the layout table has no control of this name";
  }

  std::size_t row_;
};

constexpr const Control& ControlNamed(ControlName name) {
  return kControls[name.Row()];
}

}  // namespace vantrel::layout
