// The play clock: a stopwatch the player starts, pauses and resets while solving, ticking once a
// second in tempotot ("42s", "5m 3s", "1h 0m 5s") and stopping by itself when the grid is
// finished.
// It keeps readings of its own, so that timing a solve or a generation does not move it.
#include <cmath>

#include "board/main.h"

namespace ks {

namespace {

// The whole seconds a display of the clock stands for: "1h 2m 3s" -> 3723, "5m 3s" -> 303,
// "42s" -> 42, "0" -> 0. A number without a unit counts as seconds.
int shown_seconds(const std::string& text) {
  int total = 0;
  int number = 0;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      number = number * 10 + (c - '0');
      if (number > 1000000000) number = 1000000000;
    } else if (c == 'h') {
      total += 3600 * number;
      number = 0;
    } else if (c == 'm') {
      total += 60 * number;
      number = 0;
    } else if (c == 's') {
      total += number;
      number = 0;
    }
  }
  return total + number;
}

}  // namespace

bool Main::play_clock_running() const { return picstart.picture() == picrosso.picture(); }

void Main::picstart_Click() {
  if (play_clock_running()) {
    picstart.set_tool_tip("start timer ");
    clock_start = clock_now = rt.Timer();
    Timer2.set_enabled(false);
    picstart.set_picture(picverde.picture());
  } else {
    picstart.set_picture(picrosso.picture());
    clock_start = clock_now = rt.Timer();
    clock_before = static_cast<float>(shown_seconds(tempotot.text()));
    picstart.set_tool_tip("pausa timer ");
    Timer2.set_enabled(true);
  }
}

// The grid is finished or a new puzzle begins: a running clock shows its last reading and stops,
// with its button back on "start".
void Main::stop_play_clock() {
  if (!play_clock_running()) return;
  Timer2_Timer();
  if (play_clock_running()) picstart_Click();
}

void Main::Picture2_Click() {
  tempotot.set_text("0");
  picstart_Click();
}

void Main::Timer2_Timer() {
  clock_now = rt.Timer();
  const double run = seconds_between(clock_start, clock_now);
  const long total = static_cast<long>(std::floor(clock_before)) + static_cast<long>(std::floor(run));
  std::string shown;
  if (total > 3600) {
    const long r = total % 3600;
    shown = std::to_string(total / 3600) + "h " + std::to_string(r / 60) + "m " +
            std::to_string(r % 60) + "s";
  } else if (total > 60 && total < 3600) {
    shown = std::to_string(total / 60) + "m " + std::to_string(total % 60) + "s";
  } else {
    shown = std::to_string(total) + "s";
  }
  tempotot.set_text(shown);
  // Only a grid that keeps every rule ends the game: a full grid with a wrong digit is still being
  // played. The clock then stands, button and all, as when the player pauses it.
  if (finito && play_clock_running()) picstart_Click();
}

}  // namespace ks
