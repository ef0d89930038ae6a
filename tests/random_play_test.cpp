// Random play over every command a player can reach: typed and picked digits right and wrong,
// letters, erasures, arrow keys, the technique keys and the "45" button with the traffic light
// answered green, red or after another click, hints, solving, the restart, the cage editor, new
// puzzles, test puzzles, library puzzles, generated puzzles, files saved and opened again. The
// checks after every event are the player's (see random_player.cpp). A failing sequence is shrunk
// and printed as event lines that replay it.
//
// Short in the ordinary test run; KS_RANDOM_PLAY=long plays a million events over every test
// puzzle. KS_RANDOM_PLAY_FILE=path replays the events of a file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "random_player.h"
#include "test_support.h"

namespace ks {
namespace {

using test::Event;
using test::Outcome;
using test::Player;
using test::Started;

bool long_run() {
  const char* v = std::getenv("KS_RANDOM_PLAY");
  return v != nullptr && std::string(v) == "long";
}

std::string lines_of(const std::vector<Event>& events) {
  std::string out;
  for (const Event& e : events) out += test::to_line(e) + "\n";
  return out;
}

TEST(RandomPlay, EveryCommandKeepsTheWindowSound) {
  const auto& all = test::puzzles();
  const size_t puzzles = long_run() ? all.size() : 10;
  const int length = long_run() ? 5300 : 300;
  const int seeds = 2;
  double slowest = 0;
  std::string slowest_line;
  long events = 0;
  std::map<std::string, Player::Timing> by_kind;
  std::vector<Event> slowest_events;
  // KS_RANDOM_PLAY_SHARD=i/n plays only the puzzles n_puzzle % n == i, so that a long run can be
  // spread over several processes.
  size_t shard = 0, shards = 1;
  if (const char* v = std::getenv("KS_RANDOM_PLAY_SHARD")) std::sscanf(v, "%zu/%zu", &shard, &shards);
  if (shards == 0) shards = 1;
  for (size_t n = 0; n < puzzles; ++n) {
    if (n % shards != shard) continue;
    const size_t puzzle = n * (all.size() / puzzles);
    for (int s = 1; s <= seeds; ++s) {
      // The player draws each event from the window as it stands, so the sequence is played
      // while it is drawn.
      std::mt19937 random(static_cast<unsigned>(s * 7919 + static_cast<int>(puzzle)));
      Player player;
      std::vector<Event> played;
      std::string fault;
      std::vector<Event> next = {{"load", static_cast<int>(puzzle), 0, "", 'O', "G"}};
      while (fault.empty() && static_cast<int>(played.size()) < length) {
        for (const Event& e : next) {
          played.push_back(e);
          try {
            fault = player.play(e);
          } catch (const std::exception& ex) {
            fault = std::string("exception: ") + ex.what();
          }
          if (!fault.empty()) break;
        }
        next = player.next_events(random);
      }
      events += static_cast<long>(played.size());
      for (const auto& [kind, t] : player.time_by_kind) {
        Player::Timing& all_t = by_kind[kind];
        all_t.events += t.events;
        all_t.total_ms += t.total_ms;
        all_t.max_ms = std::max(all_t.max_ms, t.max_ms);
      }
      if (player.slowest_ms > slowest) {
        slowest = player.slowest_ms;
        slowest_line = player.slowest + " (" + all[puzzle].id + " seed " + std::to_string(s) + ")";
        // The sequence up to the slowest event, to replay and profile it.
        slowest_events.assign(played.begin(), played.begin() + static_cast<long>(
                                                  std::min(player.slowest_at + 1, played.size())));
      }
      if (!fault.empty()) {
        const std::vector<Event> shortest = test::shrink(played, fault);
        const Outcome o = test::replay(shortest);
        FAIL() << all[puzzle].id << " seed " << s << ", event " << played.size() - 1 << ": "
               << fault << "\nshortest sequence (" << shortest.size() << " events, fails with: "
               << o.fault << "):\n"
               << lines_of(shortest);
      }
    }
  }
  std::printf("random play: %ld events, slowest %.1f ms: %s\n", events, slowest, slowest_line.c_str());
  if (long_run()) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("ks_random_play_slowest_" + std::to_string(shard) + ".seq")).string();
    std::ofstream(path) << lines_of(slowest_events);
    std::printf("the sequence up to it: %s\n", path.c_str());
  }
  if (long_run())
    for (const auto& [kind, t] : by_kind)
      std::printf("  %-24s %8ld events %10.1f ms in all, slowest %8.2f ms\n", kind.c_str(), t.events,
                  t.total_ms, t.max_ms);
}

// Sequences that once failed, kept as files of event lines (tests/data/repros/). Each replays
// to its end without a fault; a solve that ends one ends with a solved grid or a message.
TEST(RandomPlay, RecordedSequencesReplayWithoutFault) {
  namespace fs = std::filesystem;
  std::vector<fs::path> files;
  if (const char* one = std::getenv("KS_RANDOM_PLAY_FILE")) {
    files.emplace_back(one);
  } else {
    for (const auto& f : fs::recursive_directory_iterator(fs::path(KS_TEST_DATA) / "repros"))
      if (f.path().extension() == ".seq") files.push_back(f.path());
  }
  ASSERT_FALSE(files.empty());
  for (const fs::path& file : files) {
    const std::vector<Event> events = test::read_events(file.string());
    ASSERT_FALSE(events.empty()) << file;
    Player player;
    const bool verbose = std::getenv("KS_RANDOM_PLAY_VERBOSE") != nullptr;
    for (size_t k = 0; k < events.size(); ++k) {
      if (verbose) std::printf("%zu: %s\n", k, test::to_line(events[k]).c_str());
      const std::string fault = player.play(events[k]);
      ASSERT_EQ(fault, "") << file.filename() << " event " << k << ": " << test::to_line(events[k]);
    }
    const Event& last = events.back();
    if ((last.kind == "tb2" && last.text == "risolvi") || (last.kind == "menu" && last.text == "mnusolve")) {
      bool full = true;
      for (int i = 0; i < 81; ++i) full = full && player.m().Text1[i].text().size() == 1;
      EXPECT_TRUE(full || !player.rt().messages.empty()) << file.filename();
    }
    std::printf("%s: %zu events, slowest %.1f ms: %s\n", file.filename().c_str(), events.size(),
                player.slowest_ms, player.slowest.c_str());
  }
}

// The sequence that first showed stale required digits: a wrong digit, the sum check to its end,
// the erasure, then cage against cage.
TEST(RandomPlay, RequiredDigitsOfAWrongPositionDoNotOutliveItsErasure) {
  Started s;
  Main& m = *s.m;
  const test::Puzzle& p = test::puzzles()[0];
  ASSERT_EQ(p.id, "dt-1");
  test::load_layout(m, p.layout);
  m.filetxt.set_text(" nuovo schema");
  s.rt.on_yield = [&] {
    if (m.Pictgo.visible()) m.Pictgo.on_click();
  };
  m.Text1[0].type("4");
  for (int i = 0; i < 200; ++i) {
    m.Toolbar1.on_button_click("somme");
    if (!m.modificato || m.problema) break;
  }
  m.Text1[0].type("");
  m.Toolbar1.on_button_click("gruppovsgruppo");
  m.Toolbar1.on_button_click("impossibili");
  for (int i = 0; i < 81; ++i)
    EXPECT_NE(m.Text2[i].text().find(p.solution[i]), std::string::npos) << m.rc(i);
}

}  // namespace
}  // namespace ks
