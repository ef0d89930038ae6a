// A random player for the headless window: every command a player can reach, written as lines of
// events that replay exactly, and the checks that must hold after each event.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "test_support.h"

namespace ks::test {

// One player event, one line of a sequence: `kind a b [text] answer gate`.
//   load N          test puzzle N (0-based) of tests/data/killer.txt, as the library loader puts it
//   load2 N         the same, made into a puzzle with two solutions (test::two_solutions)
//   type C [t]      t typed into the digit box of cell C ([] erases)
//   cand C [t]      t typed into the candidate box of cell C
//   pal D           digit D of the palette (0 the eraser)
//   click C / t2 C  a click on the digit box / the candidate box of cell C
//   col K           colour K of the cage palette (16 "X", 17 the white button)
//   sum C [t]       t typed into the sum box standing on cell C
//   move C K        arrow K (0 left, 1 up, 2 right, 3 down) on the digit box of cell C
//   key C K         key code K on the digit box of cell C
//   tb1 0 0 [k]     the technique toolbar's button with key k;  tb2 0 0 [k] the file toolbar's
//   menu 0 0 [m]    the menu item m (mnusolve, mnuopen, ...)
//   frame           the double click on the hidden frame;  clock K: 0 start/pause, 1 reset, 2 tick
//   k45             the "45" button;  gen the generate command;  slow the solve on a machine so
//                   busy that each yield takes a second
//   lib L K         the library chooser: level L, puzzle K of that level, loaded
//   saveopen F M    the board saved as F (0 sa+, 1 sc+, 2 sas, 3 the export) from the toolbar
//                   (M 0) or the menu (M 1), then opened again where the format can be opened
//   open F N        test puzzle N written as F (0 sav, 1 txt, 2 sas, 3 sa+, 4 an sa+ with a cell
//                   81, 5 an sc+ whose cell line is short) and opened
// answer: O or C, the answer to every OK/Annulla box during the event. gate: G green at every wait
// of the traffic light, R red, or a number: the seed from which each wait draws green, red or
// another event first.
struct Event {
  std::string kind;
  int a = 0, b = 0;
  std::string text;
  char answer = 'O';
  std::string gate = "G";
};
std::string to_line(const Event& e);
// False for a line that is not an event (a comment, a blank line, a malformed line).
bool parse_line(const std::string& line, Event& e);
std::vector<Event> read_events(const std::string& path);

// The player: a started window on the headless runtime with its own folder and a copy of the
// shipped library, and what the player knows of the puzzle on the board.
class Player {
 public:
  Player();
  ~Player();
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  // The next events a player might try (a palette pick follows its click, a cage entered takes
  // several events).
  std::vector<Event> next_events(std::mt19937& random);
  // Runs one event, then checks the window: "" when all is well, else the fault.
  std::string play(const Event& e);

  Main& m() { return *s_.m; }
  HeadlessRuntime& rt() { return s_.rt; }
  // The longest event in wall-clock milliseconds, and its line.
  double slowest_ms = 0;
  std::string slowest;
  size_t slowest_at = 0;  // its place among the events played
  size_t played = 0;
  // Events played and their milliseconds, by kind (toolbar keys and menu items apart).
  struct Timing {
    long events = 0;
    double total_ms = 0, max_ms = 0;
  };
  std::map<std::string, Timing> time_by_kind;

 private:
  struct Cage {
    std::vector<int> cells;  // ascending
    int sum = 0;
    bool operator<(const Cage& o) const { return cells < o.cells || (cells == o.cells && sum < o.sum); }
    bool operator==(const Cage& o) const { return cells == o.cells && sum == o.sum; }
  };
  using Cages = std::map<std::vector<int>, int>;  // cells (ascending) -> full sum

  void run(const Event& e);
  void run_gate_answer(std::uint32_t& seed_state);
  void try_while_waiting(std::mt19937& random);
  std::string checks(const Event& e);
  std::string cages_agree() const;
  std::string solution_kept() const;
  std::string placed_digits_left_peers() const;
  std::string boxes_follow_tick() const;
  std::string full_grid_fault() const;
  std::string library_fault(int allowed_record) const;
  // Whether the board stands where the last library load left it: no digit, the same candidates.
  bool at_library_start() const;
  std::string save_and_open(const Event& e);
  std::string open_written(const Event& e);

  // The cells of each closed cage (one with a sum) by cage number, from each cell's cage number.
  std::map<int, std::vector<int>> closed_cage_cells() const;
  // The closed cages on the board read from the model: their cells, full sum = remaining sum +
  // the digits placed in it.
  Cages model_cages() const;
  // The digits on the board, "." for an empty cell.
  std::string digits() const;
  // Each cell's digit box and candidates, "digit/candidates".
  std::vector<std::string> boxes() const;
  // Whether every closed cage on the board is a cage of the puzzle whose solution is known.
  bool solution_holds() const;
  bool all_digits_right() const;
  bool grid_full() const;
  bool grid_valid() const;
  // The rows of the library file, each as one text, by progressivo.
  std::map<std::int64_t, std::string> library_rows() const;
  void known_puzzle(const std::vector<TextCage>& cages, const std::string& solution);
  // The cells of the closed cage whose sum box has the focus (a sum typed there counts at the
  // next command or change of focus), and the player taking its new sum from the board.
  std::vector<int> focused_sum_cage() const;
  void take_edited_sum(const std::vector<int>& cells);

  Started s_;
  std::string folder_;
  std::string library_;
  std::map<std::int64_t, std::string> library_before_;
  int damaged_record_ = 0;  // the record whose layout the loader refuses

  Cages cages_;            // what the player knows of each closed cage's full sum
  std::set<Cage> origin_;  // the cages of the puzzle whose solution is known
  std::string solution_;   // "" when unknown
  bool hand_edited_ = false;            // candidates typed by hand since the puzzle came
  std::map<int, char> wrong_placed_;    // digits placed that were not candidates ("numero errato")
  int last_clicked_ = 0;
  int files_ = 0;
  std::mt19937 gate_random_;
  std::string gate_;
  std::string wait_fault_;
  bool lib_loaded_ = false;  // the last lib event loaded a puzzle
  std::vector<std::string> lib_start_;  // the candidates right after the last library load
  Cages lib_cages_;                     // and the cages
  bool colour_since_load_ = true;       // a cage colour was picked since the last puzzle came
  bool opened_ = false;      // the last open event opened its file
  bool slow_clock_ = false;
  bool several_ = false;     // the puzzle has more than one solution (solution_ is one of them)  // each yield takes a second, as on a very busy machine  // what a refused event changed while the window was busy
};

// Replays a sequence on a new player: the index of the first event after which a check failed
// (events.size() when none did) and its fault.
struct Outcome {
  size_t failed_at;
  std::string fault;
  double slowest_ms = 0;
  std::string slowest;
  size_t slowest_at = 0;  // its place among the events played
  size_t played = 0;
};
Outcome replay(const std::vector<Event>& events);
// The shortest sequence found that still fails with a fault starting with the same words.
std::vector<Event> shrink(std::vector<Event> events, const std::string& fault);

}  // namespace ks::test
