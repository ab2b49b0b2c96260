#include "shell/web/layout_json.h"

#include <cstddef>
#include <cstdio>
#include <string_view>

#include "api/vantrel.h"
#include "shell/layout/form_layout.h"
#include "shell/layout/form_rules.h"

namespace vantrel::web {
namespace {

using layout::ControlKind;
using layout::ControlNamed;
using layout::TwipsToPixels;

// A JSON text written in order, with commas put where they belong.
class Json {
 public:
  Json& Begin(char bracket) {
    Separate();
    text_ += bracket;
    first_ = true;
    return *this;
  }
  Json& End(char bracket) {
    text_ += bracket;
    first_ = false;
    return *this;
  }
  Json& Key(std::string_view key) {
    String(key);
    text_ += ':';
    first_ = true;
    return *this;
  }
  Json& String(std::string_view value) {
    Separate();
    text_ += '"';
    for (const char c : value) {
      if (c == '"' || c == '\\') {
        text_ += '\\';
        text_ += c;
      } else if (static_cast<unsigned char>(c) < 0x20) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
        text_ += escaped;
      } else {
        text_ += c;
      }
    }
    text_ += '"';
    return *this;
  }
  Json& Number(double value) {
    Separate();
    char number[32];
    std::snprintf(number, sizeof number, "%g", value);
    text_ += number;
    return *this;
  }
  Json& Bool(bool value) {
    Separate();
    text_ += value ? "true" : "false";
    return *this;
  }
  std::string Text() && { return std::move(text_); }

 private:
  void Separate() {
    if (!first_) text_ += ',';
    first_ = false;
  }
  std::string text_;
  bool first_ = true;
};

std::string_view KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::kCommandButton:
      return "button";
    case ControlKind::kDropDownList:
      return "list";
    case ControlKind::kLabel:
      return "label";
    case ControlKind::kPicture:
      return "picture";
  }
  return "";
}

// The window-frame colour, the only system colour the table names, is black
// in the standard colour schemes; a default colour is left to the page.
void ColorOf(Json& json, std::string_view key, const layout::Color& color) {
  if (color.kind == layout::Color::Kind::kDefault) return;
  char css[24] = "black";
  if (color.kind == layout::Color::Kind::kRgb) {
    std::snprintf(css, sizeof css, "rgb(%d,%d,%d)", color.red, color.green, color.blue);
  }
  json.Key(key).String(css);
}

void FontOf(Json& json, const layout::Font& font) {
  json.Key("font").Begin('{');
  json.Key("families").Begin('[').String(font.family).String(layout::SubstituteFor(font.family));
  json.End(']');
  json.Key("points").Number(font.points).Key("bold").Bool(font.bold).End('}');
}

std::string_view CommandName(void (EditingCommands::*command)()) {
  if (command == &EditingCommands::Open) return "open";
  if (command == &EditingCommands::Save) return "save";
  if (command == &EditingCommands::Remove) return "remove";
  if (command == &EditingCommands::Restore) return "restore";
  return "play";
}

std::string_view NameOf(layout::ControlName name) {
  return ControlNamed(name).name;
}

}  // namespace

std::string LayoutJson() {
  Json json;
  json.Begin('{');
  const layout::Window& window = layout::kWindow;
  json.Key("caption").String(window.caption);
  json.Key("width").Number(TwipsToPixels(window.client_width));
  json.Key("height").Number(TwipsToPixels(window.client_height));
  FontOf(json, window.font);

  json.Key("controls").Begin('[');
  for (const layout::Control& control : layout::kControls) {
    json.Begin('{').Key("name").String(control.name).Key("kind").String(KindName(control.kind));
    json.Key("caption").String(control.caption);
    json.Key("left").Number(TwipsToPixels(control.left));
    json.Key("top").Number(TwipsToPixels(control.top));
    json.Key("width").Number(TwipsToPixels(control.width));
    json.Key("height").Number(TwipsToPixels(control.height));
    json.Key("enabled").Bool(control.enabled_at_start);
    if (control.font) FontOf(json, *control.font);
    ColorOf(json, "fore", control.fore);
    ColorOf(json, "back", control.back);
    json.End('}');
  }
  json.End(']');

  json.Key("tabOrder").Begin('[');
  for (const layout::Control* control : layout::kTabOrder) json.String(control->name);
  json.End(']');
  json.Key("clicks").Begin('[');
  for (const layout::Click& click : layout::kClicks) {
    json.Begin('{').Key("button").String(NameOf(click.button));
    json.Key("command").String(CommandName(click.command)).End('}');
  }
  json.End(']');
  json.Key("imageControls").Begin('[');
  for (layout::ControlName name : layout::kImageControls) json.String(NameOf(name));
  json.End(']');
  json.Key("list").String(NameOf(layout::kNamedList));
  json.Key("listLabel").String(NameOf(layout::kListLabel));
  json.Key("play").String(NameOf(layout::kPlayButton));
  json.Key("playName").String(layout::kPlayButtonName);
  json.Key("picture").String(NameOf(layout::kTitlePicture));

  json.Key("species").Begin('[');
  for (std::string_view species : SpeciesList()) json.String(species);
  json.End(']');
  json.Key("filter").String(kRomFilter);
  json.Key("title").String(AppTitle());
  json.End('}');
  return std::move(json).Text();
}

}  // namespace vantrel::web
