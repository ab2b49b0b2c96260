#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/layout/form_layout.h"
#include "shell/layout/form_rules.h"

namespace vantrel::layout {
namespace {

TEST(FormLayout, TabOrderIsOpenSaveListPlayRestoreRemove) {
  std::vector<std::string_view> names;
  for (const Control* control : kTabOrder) names.push_back(control->name);
  EXPECT_EQ(names, (std::vector<std::string_view>{"cmdOpen", "cmdSave", "cmbPoke", "cmdPlay",
                                                  "cryRestore", "Command1"}));
}

TEST(FormLayout, PixelsAreTwipsOverFifteenScaled) {
  EXPECT_EQ(TwipsToPixels(kWindow.client_width), 383);
  EXPECT_EQ(TwipsToPixels(kWindow.client_height), 275);
  const Control& picture = ControlNamed("Image1");
  EXPECT_EQ(TwipsToPixels(picture.width), 408);
  EXPECT_EQ(TwipsToPixels(picture.height), 296);
  EXPECT_EQ(TwipsToPixels(picture.width, 2.0), 816);
  EXPECT_EQ(TwipsToPixels(ControlNamed("cmdSave").left, 1.25), 100);
}

TEST(FormLayout, OnlyOpenAndTheLabelsStartEnabled) {
  for (const Control& control : kControls) {
    const bool expected = control.name == "cmdOpen" || control.kind == ControlKind::kLabel;
    EXPECT_EQ(control.enabled_at_start, expected) << control.name;
  }
  EXPECT_EQ(ControlNamed("Label1").caption, "Select Pok\u00e9mon:");
  EXPECT_EQ(ControlNamed("cmbPoke").font->charset, kHebrewCharset);
}

}  // namespace
}  // namespace vantrel::layout
