// The Play button end to end: the window's click, the core's decoding and
// the PulseAudio player, heard on a private sound server's sink.

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "cry/resample.h"
#include "runtime/path_text.h"
#include "shell/qt/form1.h"
#include "shell/qt/pulse_cry_player.h"
#include "sound_server.h"
#include "support/cry_image.h"
#include "support/recording_box.h"
#include "support/scripted_dialog.h"
#include "support/temp_files.h"

namespace vantrel::qt {
namespace {

using test::PrivateSoundServer;
using vantrel::test::ShownBox;

constexpr int kRate = PrivateSoundServer::kRecordingRate;

// Names the sound server the players of this process connect to, for the
// life of the object.
class ScopedSoundServer {
 public:
  explicit ScopedSoundServer(const std::string& address) {
    if (const char* previous = std::getenv("PULSE_SERVER")) previous_ = previous;
    setenv("PULSE_SERVER", address.c_str(), 1);
  }
  ~ScopedSoundServer() {
    if (previous_) {
      setenv("PULSE_SERVER", previous_->c_str(), 1);
    } else {
      unsetenv("PULSE_SERVER");
    }
  }

 private:
  std::optional<std::string> previous_;
};

struct Match {
  std::size_t at = 0;  // where in the recording the cry starts
  double correlation = 0;
};

// How well `cry` matches the recording from `at` on: 1 for the same shape
// at any loudness.
double CorrelationAt(const std::vector<std::int16_t>& recording, const std::vector<double>& cry,
                     std::size_t at, std::size_t step = 1) {
  double both = 0, heard = 0, made = 0;
  for (std::size_t i = 0; i < cry.size() && at + i < recording.size(); i += step) {
    both += recording[at + i] * cry[i];
    heard += static_cast<double>(recording[at + i]) * recording[at + i];
    made += cry[i] * cry[i];
  }
  return heard == 0 || made == 0 ? 0 : both / std::sqrt(heard * made);
}

// The best place for `cry` between `from` and `to`: sought at every eighth
// sample and then around the best of those (the sweep stays far below the
// coarse search's Nyquist frequency).
Match BestMatch(const std::vector<std::int16_t>& recording, const std::vector<double>& cry,
                std::size_t from, std::size_t to) {
  Match coarse;
  for (std::size_t at = from; at < to; at += 8) {
    const double correlation = CorrelationAt(recording, cry, at, 8);
    if (correlation > coarse.correlation) coarse = {at, correlation};
  }
  Match best;
  for (std::size_t at = coarse.at > from + 8 ? coarse.at - 8 : from; at < coarse.at + 8; ++at) {
    const double correlation = CorrelationAt(recording, cry, at);
    if (correlation > best.correlation) best = {at, correlation};
  }
  return best;
}

// Where the recording is first louder than a whisper, from `from` on.
std::optional<std::size_t> FirstSound(const std::vector<std::int16_t>& recording,
                                      std::size_t from = 0) {
  for (std::size_t i = from; i < recording.size(); ++i) {
    if (std::abs(recording[i]) > 256) return i;
  }
  return std::nullopt;
}

// Where the cry starts, the first time the recording has it: found by its
// first tenth of a second near the first sound heard.
Match FindCry(const std::vector<std::int16_t>& recording, const std::vector<double>& cry) {
  const std::optional<std::size_t> heard = FirstSound(recording);
  if (!heard) return {};
  const std::vector<double> start(
      cry.begin(), cry.begin() + std::min<std::ptrdiff_t>(kRate / 10, std::ssize(cry)));
  const std::size_t from = *heard - std::min<std::size_t>(*heard, kRate / 10);
  return BestMatch(recording, start, from, *heard + kRate / 10);
}

std::vector<double> AtRecordingRate(const CrySound& sound) {
  const CrySound resampled = Resampled(sound, kRate);
  return {resampled.samples.begin(), resampled.samples.end()};
}

class PlayTest : public ::testing::Test {
 protected:
  // Opens an image whose cry table holds `sound` for Pikachu, and picks
  // Pikachu in the list.
  void OpenWithCry(const CrySound& sound) {
    std::vector<std::uint8_t> bytes = vantrel::test::ReleaseImageBytes(kReleases[0], 6);
    vantrel::test::PutCry(bytes, kReleases[0], 25, sound);
    vantrel::test::WriteBytes(dir / "fire.gba", bytes);
    form.Commands().OpenPath(Utf8FromPath(dir / "fire.gba"));
    form.SetSelection(24);
    ASSERT_TRUE(Play()->isEnabled());
  }
  QPushButton* Play() const { return static_cast<QPushButton*>(form.Control("cmdPlay")); }

  vantrel::test::TempDir dir;
  vantrel::test::RecordingMessageBox boxes;
  vantrel::test::ScriptedDialogBackend dialogs;
  PulseCryPlayer player;
  Form1 form{[this] { return std::make_unique<clsCommonDialog>(dialogs); }, player};
};

TEST_F(PlayTest, TheSinkPlaysTheSelectedCry) {
  PrivateSoundServer server;
  ASSERT_TRUE(server.Running()) << server.Failure();
  const ScopedSoundServer named(server.Address());
  const CrySound sound = vantrel::test::SweepCry(0.5);
  OpenWithCry(sound);
  server.StartRecording();
  QTest::mouseClick(Play(), Qt::LeftButton);
  QTest::qWait(1000);
  const std::vector<std::int16_t> recording = server.StopRecording();

  const std::vector<double> cry = AtRecordingRate(sound);
  const Match match = FindCry(recording, cry);
  EXPECT_GE(CorrelationAt(recording, cry, match.at), 0.9) << "at sample " << match.at;
  // Nothing of its start is lost: the server skips what a stream that ran
  // dry sends late.
  std::vector<std::int16_t> made;
  for (const double sample : cry) made.push_back(static_cast<std::int16_t>(sample * 256));
  EXPECT_LE(FirstSound(recording), match.at + *FirstSound(made) + kRate / 1000);
  // The whole cry, and nothing after it.
  EXPECT_EQ(FirstSound(recording, match.at + cry.size() + kRate / 100), std::nullopt);
  EXPECT_GE(recording.size(), match.at + cry.size());
  EXPECT_EQ(boxes.shown, (std::vector<ShownBox>{{"ROM opened successfully!", "Vantrel"}}));
}

// The second click cuts the first cry off: from there on the sink plays the
// second alone, which a cry still sounding beneath it would spoil.
TEST_F(PlayTest, AnotherClickStartsTheCryAgainAndStopsTheOldAtOnce) {
  PrivateSoundServer server;
  ASSERT_TRUE(server.Running()) << server.Failure();
  const ScopedSoundServer named(server.Address());
  const CrySound sound = vantrel::test::SweepCry(1.0);
  OpenWithCry(sound);
  server.StartRecording();
  QTest::mouseClick(Play(), Qt::LeftButton);
  QTest::qWait(400);
  QTest::mouseClick(Play(), Qt::LeftButton);
  QTest::qWait(1500);
  const std::vector<std::int16_t> recording = server.StopRecording();

  const std::vector<double> cry = AtRecordingRate(sound);
  const Match first = FindCry(recording, cry);
  ASSERT_GE(first.correlation, 0.9) << "at sample " << first.at;
  const Match again = BestMatch(recording, cry, first.at + kRate / 10, first.at + kRate);
  EXPECT_GE(again.correlation, 0.9) << "at sample " << again.at;
  // Up to the second click the first cry sounded as it begins.
  const std::vector<double> begun(cry.begin(),
                                  cry.begin() + static_cast<std::ptrdiff_t>(again.at - first.at));
  EXPECT_GE(CorrelationAt(recording, begun, first.at), 0.9);
  EXPECT_EQ(FirstSound(recording, again.at + cry.size() + kRate / 100), std::nullopt);
}

TEST_F(PlayTest, WithoutASoundServerABoxSaysSoAndNothingElseChanges) {
  const ScopedSoundServer named("unix:" + (dir / "no server").string());
  OpenWithCry(vantrel::test::SweepCry(0.1));
  QTest::mouseClick(Play(), Qt::LeftButton);
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1],
            (ShownBox{"Vantrel cannot play sound: no sound server answered (PulseAudio: "
                      "Connection refused).",
                      "Vantrel"}));
  EXPECT_TRUE(Play()->isEnabled());
  EXPECT_EQ(form.Selection(), 24);
  EXPECT_EQ(form.RomPath(), Utf8FromPath(dir / "fire.gba"));
}

}  // namespace
}  // namespace vantrel::qt
