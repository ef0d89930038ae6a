// The random player: events as replayable lines, the player's moves through the window's own
// controls, and the checks after every event.
#include "random_player.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "killer_counter.h"
#include "library/level_chooser.h"
#include "platform/data_control.h"
#include "platform/text.h"
#include "solving_support.h"

namespace ks::test {

namespace fs = std::filesystem;

// ---------------------------------------------------------------------------------------------
// Events as lines

std::string to_line(const Event& e) {
  return e.kind + " " + std::to_string(e.a) + " " + std::to_string(e.b) + " [" + e.text + "] " +
         e.answer + " " + e.gate;
}

bool parse_line(const std::string& line, Event& e) {
  if (line.empty() || line[0] == '#') return false;
  const size_t open = line.find('['), close = line.rfind(']');
  if (open == std::string::npos || close == std::string::npos || close < open) return false;
  std::istringstream head(line.substr(0, open)), tail(line.substr(close + 1));
  Event out;
  if (!(head >> out.kind >> out.a >> out.b)) return false;
  out.text = line.substr(open + 1, close - open - 1);
  std::string answer;
  if (!(tail >> answer >> out.gate) || answer.size() != 1) return false;
  out.answer = answer[0];
  e = out;
  return true;
}

std::vector<Event> read_events(const std::string& path) {
  std::vector<Event> out;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    Event e;
    if (parse_line(line, e)) out.push_back(e);
  }
  return out;
}

namespace {

// A folder of its own for each player, so that players never share files.
std::string new_folder() {
  static std::atomic<int> counter{0};
  const fs::path p = fs::temp_directory_path() /
                     ("ks_player_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
  fs::remove_all(p);
  fs::create_directories(p);
  return p.string();
}

std::vector<int> sorted(std::vector<int> v) {
  std::sort(v.begin(), v.end());
  return v;
}

bool is_digit(const std::string& t) { return t.size() == 1 && t[0] >= '1' && t[0] <= '9'; }

const std::vector<std::string>& toolbar1_keys() {
  static const std::vector<std::string> keys = {"pencil", "activity", "suggerisci", "numero",
                                                "obbligate", "somme", "pair", "gruppovsgruppo",
                                                "gruppi", "impossibili"};
  return keys;
}

const std::vector<std::string>& toolbar2_keys() {
  static const std::vector<std::string> keys = {"open", "new", "libreria", "save", "print",
                                                "risolvi", "undo", "calcola", "genera",
                                                "continuo"};
  return keys;
}

const std::vector<std::string>& menu_names() {
  static const std::vector<std::string> names = {
      "mnuopen", "mnusave", "mnunew", "mnupencil", "mnurefresh", "mnulog", "mnuactivity",
      "mnuposition", "mnunumber", "mnurestricted", "mnuchain", "mnutec4", "mnuhidden",
      "mnuxwing", "mnusword", "mnusolve", "mnuanalise", "mnuquick", "mnuadvanced", "mnureduce",
      "mnumore"};
  return names;
}

MenuItem* menu_item(Main& m, const std::string& name) {
  const std::map<std::string, MenuItem*> items = {
      {"mnuopen", &m.mnuopen},         {"mnusave", &m.mnusave},
      {"mnunew", &m.mnunew},           {"mnupencil", &m.mnupencil},
      {"mnurefresh", &m.mnurefresh},   {"mnulog", &m.mnulog},
      {"mnuactivity", &m.mnuactivity}, {"mnuposition", &m.mnuposition},
      {"mnunumber", &m.mnunumber},     {"mnurestricted", &m.mnurestricted},
      {"mnuchain", &m.mnuchain},       {"mnutec4", &m.mnutec4},
      {"mnuhidden", &m.mnuhidden},     {"mnuxwing", &m.mnuxwing},
      {"mnusword", &m.mnusword},       {"mnusolve", &m.mnusolve},
      {"mnuanalise", &m.mnuanalise},   {"mnuquick", &m.mnuquick},
      {"mnuadvanced", &m.mnuadvanced}, {"mnureduce", &m.mnureduce},
      {"mnumore", &m.mnumore}};
  const auto it = items.find(name);
  return it == items.end() ? nullptr : it->second;
}

// Clicks a toolbar button as the window would: only a visible, enabled button with that key.
void click_button(Toolbar& bar, const std::string& key) {
  for (int n = 1; n <= bar.count(); ++n) {
    const ToolbarButton& b = bar.button(n);
    if (b.key == key && b.visible && b.enabled && bar.on_button_click) {
      bar.on_button_click(key);
      return;
    }
  }
}

// Events that put a puzzle of a known source on the board: the player knows its cages.
bool from_source(const Event& e) {
  return e.kind == "load" || e.kind == "load2" || e.kind == "lib" || e.kind == "gen" || e.kind == "open" ||
         e.kind == "saveopen" || (e.kind == "tb2" && e.text == "genera");
}

// Whether a message from position `from` on asked whether to throw the game on the board away
// for a new puzzle.
bool asked_to_discard(const std::vector<std::string>& messages, size_t from) {
  return std::any_of(messages.begin() + static_cast<long>(from), messages.end(), [](const std::string& m) {
    return m.starts_with("Abbandonare lo schema in corso?");
  });
}

// A hint or a technique key: every step one of them applies is written to the activity log.
bool is_step(const Event& e) {
  if (e.kind == "k45") return true;
  if (e.kind == "tb1") return e.text != "pencil" && e.text != "activity" && e.text != "numero";
  if (e.kind == "menu") return e.text == "mnuposition" || e.text == "mnuhidden" || e.text == "mnurestricted";
  return false;
}

bool is_solve(const Event& e) {
  return (e.kind == "tb2" && e.text == "risolvi") || (e.kind == "menu" && e.text == "mnusolve");
}

// Events after which the cages on the board may differ from before.
bool may_change_cages(const Event& e) {
  static const std::set<std::string> kinds = {"load", "load2", "lib", "gen", "open", "saveopen", "col",
                                              "click", "sum", "frame"};
  if (kinds.count(e.kind)) return true;
  if (e.kind == "tb2")
    return e.text == "new" || e.text == "open" || e.text == "genera" || e.text == "continuo" ||
           e.text == "libreria";
  if (e.kind == "menu") return e.text == "mnunew" || e.text == "mnuopen";
  if (e.kind == "btn") return e.text == "Command1";
  return false;
}

// Events that place digits on the player's behalf: a right position stays right through them.
bool is_technique(const Event& e) {
  return is_step(e) || e.kind == "slow" || (e.kind == "tb2" && (e.text == "risolvi" || e.text == "undo")) ||
         (e.kind == "menu" && e.text == "mnusolve");
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The player

Player::Player() : folder_(new_folder()) {
  library_ = (fs::path(folder_) / "schemikenvari.db").string();
  fs::copy_file(shipped_library(), library_, fs::copy_options::overwrite_existing);
  rt().app_path = folder_;
  m().path = folder_;
  m().database = library_;
  m().Data1.set_database_name(library_);
  // One record of level 5 (a level the shipped library has none of) holds a layout the loader
  // refuses: loading it must leave the game on the board as it was.
  {
    DataControl d;
    d.set_database_name(library_);
    damaged_record_ = static_cast<int>(library_rows().rbegin()->first);
    d.update_record("schema", "progressivo", std::int64_t{damaged_record_},
                    {{"livello", "5"}, {"kenvari", "15,0102;10,0203;"}});
  }
  library_before_ = library_rows();

  // The player at the traffic light, and sometimes impatient while the window works.
  rt().on_yield = [this] {
    Main& w = m();
    if (slow_clock_) rt().clock += 1.0f;
    if (!w.Pictgo.visible() || !w.scelta.empty()) {
      if (gate_ != "G" && gate_ != "R" && (w.solve_running || w.generation_running) &&
          std::uniform_int_distribution<int>(0, 199)(gate_random_) == 0)
        try_while_waiting(gate_random_);
      return;
    }
    int draw = gate_ == "G" ? 0 : gate_ == "R" ? 2 : std::uniform_int_distribution<int>(0, 3)(gate_random_);
    if (draw == 3) {
      try_while_waiting(gate_random_);
      return;
    }
    if (draw == 2)
      w.Pictalt.on_click();
    else
      w.Pictgo.on_click();
  };
}

Player::~Player() {
  rt().on_yield = nullptr;
  s_.m.reset();
  std::error_code ec;
  fs::remove_all(folder_, ec);
}

// What the player tries while the window waits for the light or works: every one of these must
// be refused and change nothing on the board.
void Player::try_while_waiting(std::mt19937& random) {
  Main& w = m();
  const std::vector<std::string> before = boxes();
  const int cell = std::uniform_int_distribution<int>(0, 80)(random);
  switch (std::uniform_int_distribution<int>(0, 7)(random)) {
    case 0: w.colore[cell % 18].on_click(); break;
    case 1: w.Text1[cell].on_click(); break;
    case 2: w.Text1[cell].type(std::string(1, static_cast<char>('1' + cell % 9))); break;
    case 3: w.Toolbar2.on_button_click("undo"); break;
    case 4: w.Toolbar2.on_button_click("risolvi"); break;
    case 5: w.Toolbar1.on_button_click("somme"); break;
    case 6: w.mnunew.on_click(); break;
    default: w.Picture1[cell % 10].on_click(); break;
  }
  for (int i = 0; i < kCells; ++i)
    if (before[static_cast<size_t>(i)] != w.Text1[i].text() + "/" + w.Text2[i].text() &&
        wait_fault_.empty())
      wait_fault_ = "a refused event changed " + w.rc(i) + " while the window was busy";
}

std::vector<Event> Player::next_events(std::mt19937& random) {
  const auto pick = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  const auto any = [&](const std::vector<std::string>& v) { return v[static_cast<size_t>(pick(static_cast<int>(v.size())))]; };
  Event e;
  e.answer = pick(5) == 0 ? 'C' : 'O';
  const int g = pick(10);
  e.gate = g < 6 ? "G" : g < 8 ? "R" : std::to_string(random() % 1000000000u);
  const int cell = pick(81);
  const int n_puzzles = static_cast<int>(puzzles().size());
  std::vector<Event> out;
  const auto add = [&out, &e](std::string kind, int a = 0, int b = 0, std::string text = "") {
    Event x = e;
    x.kind = std::move(kind);
    x.a = a;
    x.b = b;
    x.text = std::move(text);
    out.push_back(x);
  };
  // A command from the file toolbar or from its menu item, either at random.
  const auto add_command = [&](const char* key, const char* menu) {
    if (pick(2) == 0)
      add("tb2", 0, 0, key);
    else
      add("menu", 0, 0, menu);
  };
  // A game with a wrong digit is saved and opened again, as a player keeps a game, then solved.
  if (!wrong_placed_.empty() && pick(4) == 0) {
    add("saveopen", pick(4), pick(2));
    add_command("risolvi", "mnusolve");
    return out;
  }
  // A mistake and what follows it: a wrong digit among its cell's candidates, then either the
  // pencil marks on and a technique key (a step may place a digit that the wrong one rules out,
  // which cell entry takes back at once), or a solve, the digit erased or the restart, and a
  // solve again.
  if (!solution_.empty() && pick(25) == 0) {
    const Main& w = *s_.m;
    for (int k = 0, c = cell; k < kCells; ++k, c = (c + 1) % kCells) {
      const std::string& cands = w.Text2[c].text();
      if (!w.Text1[c].text().empty() || cands.size() < 2) continue;
      const char right = solution_[static_cast<size_t>(c)];
      add("click", c);
      add("pal", (cands[0] != right ? cands[0] : cands[1]) - '0');
      if (pick(2) == 0) {
        if (!w.mnupencil.checked()) add("tb1", 0, 0, "pencil");
        if (pick(2) == 0)
          add("k45");
        else
          add("tb1", 0, 0, any({"gruppi", "suggerisci", "somme", "obbligate", "pair"}));
      } else {
        add_command("risolvi", "mnusolve");
        if (pick(2) == 0) {
          add("click", c);
          add("pal", 0);
        } else {
          add("tb2", 0, 0, "undo");
        }
        add_command("risolvi", "mnusolve");
      }
      return out;
    }
  }
  // A solve on a machine so busy that each yield takes a second: on a puzzle that the count decides
  // the count runs out of time, and the player goes on with a hint or a technique key.
  if (!solution_.empty() && pick(60) == 0) {
    add("slow");
    add("tb1", 0, 0, any({"suggerisci", "somme", "gruppi", "pair", "gruppovsgruppo"}));
    return out;
  }
  const int roll = pick(1000);
  if (roll < 300) {  // a digit typed: right, wrong, junk or nothing
    const int how = pick(10);
    std::string t;
    if (how < 5 && !solution_.empty())
      t = std::string(1, solution_[static_cast<size_t>(cell)]);
    else if (how < 8)
      t = std::string(1, static_cast<char>('1' + pick(9)));
    else if (how == 8)
      t = any({"a", "57", "0", " ", "x9", "1e400", "-3"});
    add("type", cell, 0, t);
  } else if (roll < 420) {  // a click, usually followed by a pick from the palette
    add("click", cell);
    if (pick(4) != 0) {
      int d = pick(10);
      if (d > 0 && !solution_.empty() && pick(2) == 0) d = solution_[static_cast<size_t>(cell)] - '0';
      add("pal", d);
    }
  } else if (roll < 520) {
    add("tb1", 0, 0, any(toolbar1_keys()));
  } else if (roll < 535) {
    add("k45");
  } else if (roll < 575) {
    add_command("risolvi", "mnusolve");
  } else if (roll < 595) {
    add("menu", 0, 0, any({"mnuposition", "mnuhidden", "mnurestricted", "mnupencil", "mnunumber",
                           "mnulog", "mnuactivity"}));
  } else if (roll < 620) {
    add("tb2", 0, 0, "undo");
  } else if (roll < 640) {
    add("tb2", 0, 0, any(toolbar2_keys()));
  } else if (roll < 660) {
    add("menu", 0, 0, any(menu_names()));
  } else if (roll < 690) {
    // One in five a puzzle with two solutions, whose solve stops at the count.
    add(pick(5) == 0 ? "load2" : "load", pick(n_puzzles));
  } else if (roll < 705) {
    // Half of them from the hardest levels, whose solves count the solutions.
    add("lib", pick(2) == 0 ? 12 + pick(2) : pick(14), pick(60));
  } else if (roll < 712) {
    add("gen");
  } else if (roll < 750) {
    add("saveopen", pick(4), pick(2));
  } else if (roll < 770) {
    add("open", pick(6), pick(n_puzzles));
  } else if (roll < 860) {  // the cage editor: a cage deleted, then cells coloured and a sum typed
    add("col", pick(16));
    add("click", cell);
    if (pick(3) != 0) {
      add("col", pick(16));
      int c = cell;
      const int n = 1 + pick(4);
      for (int k = 0; k < n; ++k) {
        add("click", c);
        const int step = any({"1", "9", "-1", "-9"}) == "1" ? 1 : 9;
        c = std::clamp(c + (pick(2) == 0 ? step : -step), 0, 80);
      }
      add("sum", cell, 0, pick(8) == 0 ? any({"", "abc", "0", "99", "12a", " 7"}) : std::to_string(3 + pick(30)));
    }
    if (pick(3) == 0) add("col", 16);
  } else if (roll < 900) {
    add("move", cell, pick(4));
  } else if (roll < 915) {
    add("key", cell, any({"46", "48", "53", "57", "13", "65", "8"}) == "46" ? 46 : 48 + pick(10));
  } else if (roll < 930) {
    add("t2", cell);
  } else if (roll < 945) {
    add("cand", cell, 0, std::string(1, static_cast<char>('1' + pick(9))));
  } else if (roll < 960) {
    add("clock", pick(3));
  } else if (roll < 970) {
    add("frame");
  } else if (roll < 980) {
    add("btn", 0, 0, "Command1");
  } else if (roll < 990) {
    add("col", pick(18));
  } else if (roll < 995) {
    // A whole test puzzle entered by hand on a fresh board, cage by cage, the colouring ended.
    const Puzzle& p = puzzles()[static_cast<size_t>(pick(n_puzzles))];
    add_command("new", "mnunew");
    int colour = 0;
    for (const TextCage& c : cages_of(p.layout)) {
      add("col", colour++ % 16);
      for (const int x : c.cells) add("click", x);
      add("sum", c.cells[0], 0, std::to_string(c.sum));
    }
    add("col", 16);
  } else {
    add("sum", cell, 0, std::to_string(pick(46)));
  }
  return out;
}

void Player::run(const Event& e) {
  Main& w = m();
  rt().default_answer = e.answer == 'C' ? MsgAnswer::Cancel : MsgAnswer::Ok;
  rt().answers.clear();
  gate_ = e.gate;
  if (gate_ != "G" && gate_ != "R") gate_random_.seed(static_cast<std::uint32_t>(std::stoul(gate_)));
  const int cell = std::clamp(e.a, 0, kCells - 1);
  TextBox& digit_box = w.Text1[cell];
  TextBox& candidate_box = w.Text2[cell];
  // The box of the cell that the player can reach: the candidate box covers the digit box while
  // the pencil marks are shown.
  TextBox& shown = digit_box.visible() ? digit_box : candidate_box;

  if (e.kind == "load") {
    const Puzzle& p = puzzles()[static_cast<size_t>(e.a) % puzzles().size()];
    load_layout(w, p.layout);
    w.filetxt.set_text(" nuovo schema");
    known_puzzle(cages_of(p.layout), p.solution);
  } else if (e.kind == "load2") {
    // The first test puzzle from N on whose solution two cages of two cells can swap their digits.
    for (size_t k = 0; k < puzzles().size(); ++k) {
      const Puzzle& p = puzzles()[(static_cast<size_t>(e.a) + k) % puzzles().size()];
      std::string swapped;
      const std::string layout = two_solutions(p, swapped);
      if (layout.empty()) continue;
      load_layout(w, layout);
      w.filetxt.set_text(" nuovo schema");
      known_puzzle(cages_of(layout), p.solution);
      several_ = true;
      break;
    }
  } else if (e.kind == "type") {
    if (!digit_box.visible()) return;
    digit_box.set_focus();
    digit_box.type(e.text);
  } else if (e.kind == "cand") {
    if (!candidate_box.visible()) return;
    const std::string before = candidate_box.text();
    candidate_box.set_focus();
    candidate_box.type(e.text);
    if (candidate_box.text() != before) hand_edited_ = true;
  } else if (e.kind == "pal") {
    const int d = std::clamp(e.a, 0, 9);
    if (w.Picture1[d].visible() && w.Picture1[d].on_click) w.Picture1[d].on_click();
  } else if (e.kind == "click") {
    shown.set_focus();
    if (shown.on_click) shown.on_click();
    last_clicked_ = cell;
  } else if (e.kind == "t2") {
    if (!candidate_box.visible()) return;
    candidate_box.set_focus();
    if (candidate_box.on_click) candidate_box.on_click();
  } else if (e.kind == "col") {
    CommandButton& b = w.colore[static_cast<size_t>(std::clamp(e.a, 0, 17))];
    if (b.visible() && b.enabled() && b.on_click) b.on_click();
  } else if (e.kind == "sum") {
    for (int g = 0; g < kCells; ++g) {
      TextBox& box = w.textsomma[g];
      if (box.visible() && box.left() == w.Label2[cell].left() + 2 &&
          box.top() == w.Label2[cell].top() - 4) {
        box.set_focus();
        box.type(e.text);
        break;
      }
    }
  } else if (e.kind == "move" || e.kind == "key") {
    shown.set_focus();
    if (shown.on_key_down) shown.on_key_down(e.kind == "move" ? 37 + std::clamp(e.b, 0, 3) : e.b);
  } else if (e.kind == "tb1") {
    click_button(w.Toolbar1, e.text);
  } else if (e.kind == "tb2") {
    click_button(w.Toolbar2, e.text);
  } else if (e.kind == "menu") {
    if (MenuItem* item = menu_item(w, e.text); item && item->enabled() && item->visible() && item->on_click)
      item->on_click();
  } else if (e.kind == "frame") {
    if (w.Frame1.on_dbl_click) w.Frame1.on_dbl_click();
  } else if (e.kind == "clock") {
    if (e.a == 0 && w.picstart.on_click) w.picstart.on_click();
    if (e.a == 1 && w.Picture2.on_click) w.Picture2.on_click();
    if (e.a == 2 && w.Timer2.enabled() && w.Timer2.on_timer) {
      rt().clock += 1.0f;
      w.Timer2.on_timer();
    }
  } else if (e.kind == "k45") {
    if (w.Command3.visible() && w.Command3.enabled() && w.Command3.on_click) w.Command3.on_click();
  } else if (e.kind == "btn") {
    CommandButton* b = e.text == "Command1" ? &w.Command1 : e.text == "Cmdtest" ? &w.Cmdtest : nullptr;
    if (b && b->visible() && b->enabled() && b->on_click) b->on_click();
  } else if (e.kind == "slow") {
    slow_clock_ = true;
    click_button(w.Toolbar2, "risolvi");
    slow_clock_ = false;
  } else if (e.kind == "gen") {
    click_button(w.Toolbar2, "genera");
  } else if (e.kind == "lib") {
    click_button(w.Toolbar2, "libreria");
    Frmlivello& f = w.frmlivello;
    if (!f.form.visible()) return;
    const int level = std::clamp(e.a, 0, 13);
    if (f.Option1[level].on_click) f.Option1[level].on_click();
    const int count = static_cast<int>(val(f.numerototale.text()));
    if (count <= 0) return;
    f.numeroselezionato.type(std::to_string(e.b % count + 1));
    if (f.Command1.visible() && f.Command1.on_click) f.Command1.on_click();
    // A puzzle loaded closes the chooser.
    lib_loaded_ = !f.form.visible() && w.library_record > 0;
  }
}

std::string Player::play(const Event& e) {
  Main& w = m();
  wait_fault_.clear();
  lib_loaded_ = false;
  opened_ = false;
  const bool right_before = solution_holds() && !hand_edited_ && all_digits_right();
  const bool complete_before = grid_full() && grid_valid();
  const int beeps_before = rt().beeps;
  const size_t messages_before = rt().messages.size();
  const std::string level_before = w.txtlivello.text() + "|" + w.testototale.text();
  const int record_before = w.library_record;
  const bool from_library_start = record_before > 0 && at_library_start();
  const std::string status_before = w.filetxt.text();
  const std::vector<std::string> board_before = boxes();
  const std::string log_before = w.frmlog.Text3.text();
  // The cell a digit goes into.
  const int typed_into = e.kind == "type" ? std::clamp(e.a, 0, kCells - 1)
                         : e.kind == "pal" ? (w.palette_cell >= 0 ? w.palette_cell : last_clicked_)
                                           : -1;
  const Cages cages_before = model_cages();
  const std::string digits_before = digits();
  // The cage being entered closes when its sum box loses the focus or a command starts.
  const bool cage_open = w.cellacolorata > 0;
  // Whether the window refuses a command now, or will when closing the cage being entered fails.
  const bool busy = w.input_refusal(Main::Input::Command) != nullptr;
  const bool closing = cage_open && !w.textsomma[std::clamp(w.gruppi, 0, kCells - 1)].text().empty();
  // A sum typed into a closed cage's sum box counts once the box loses the focus or a command
  // starts: the cage may take its new sum at any later event.
  const std::vector<int> edited = focused_sum_cage();

  const auto start = std::chrono::steady_clock::now();
  std::string fault;
  if (e.kind == "saveopen")
    fault = save_and_open(e);
  else if (e.kind == "open")
    fault = open_written(e);
  else
    run(e);
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  if (ms > slowest_ms) {
    slowest_ms = ms;
    slowest = to_line(e);
    slowest_at = played;
  }
  ++played;
  const std::string what = e.kind == "tb1" || e.kind == "tb2" || e.kind == "menu" ? e.kind + " " + e.text : e.kind;
  Timing& t = time_by_kind[what];
  ++t.events;
  t.total_ms += ms;
  t.max_ms = std::max(t.max_ms, ms);
  if (!fault.empty()) return fault;
  if (!wait_fault_.empty()) return wait_fault_;
  // A sum typed into a closed cage's box counts once the event moved the focus or ran a command
  // (a puzzle loaded by the event then replaces it).
  take_edited_sum(edited);

  // What the player learns from the event. Asked whether to give up the game for a new puzzle,
  // the player who answers Cancel keeps it.
  const bool kept = asked_to_discard(rt().messages, messages_before) && e.answer == 'C';
  const bool refused = busy || (closing && w.cellacolorata > 0) || kept;
  const std::vector<std::string> board_now = boxes();
  if (kept && e.kind != "saveopen") {
    if (digits() != digits_before) return "the player kept the game, but its digits changed: " + to_line(e);
    if (w.filetxt.text() != status_before) return "the player kept the game, but the status line changed";
    if (!closing && edited.empty()) {
      if (model_cages() != cages_before) return "the player kept the game, but its cages changed";
      if (board_now != board_before) return "the player kept the game, but its candidates changed";
    }
  }
  // A step that changes the board explains itself in the activity log (a cage the command closed
  // first, or a sum it took first, changes candidates without a step).
  if (is_step(e) && !busy && !closing && edited.empty() && board_now != board_before &&
      w.frmlog.Text3.text() == log_before)
    return "a step changed the board and wrote nothing to the activity log: " + to_line(e);
  if (((e.kind == "tb2" && e.text == "new") || (e.kind == "menu" && e.text == "mnunew")) && !refused)
    known_puzzle({}, "");
  if ((e.kind == "gen" || (e.kind == "tb2" && e.text == "genera")) && !refused) {
    // A generated puzzle: one solution, found by a counter of our own.
    std::array<int, 81> cage{};
    std::vector<int> sums;
    std::map<int, int> number;
    for (int i = 0; i < kCells; ++i) {
      const int g = w.cage_of(i);
      if (g < 0) return "the generated puzzle leaves " + w.rc(i) + " in no cage";
      if (!number.count(g)) {
        number[g] = static_cast<int>(sums.size());
        sums.push_back(w.sommagruppo[g].as_int());
      }
      cage[static_cast<size_t>(i)] = number[g];
    }
    std::string first;
    KillerCounter counter(cage, sums);
    if (const int n = counter.count(2, &first); n != 1)
      return "the generated puzzle has " + std::to_string(n) + " solutions";
    std::vector<TextCage> cages;
    for (const auto& [cells, sum] : model_cages()) cages.push_back({sum, cells});
    known_puzzle(cages, first);
  }
  // The loads that always reset the board (the batch generator and the reduction pass may find
  // nothing to load).
  if (e.kind == "load" || e.kind == "load2" || lib_loaded_ || opened_ || ((e.kind == "gen" || (e.kind == "tb2" && e.text == "genera") ||
                                                      (e.kind == "tb2" && e.text == "new") ||
                                                      (e.kind == "menu" && e.text == "mnunew")) && !refused))
    colour_since_load_ = false;
  if (e.kind == "col") colour_since_load_ = true;
  // After a puzzle came, a click on a cell is play until the player picks a cage colour.
  if (e.kind == "click" && !colour_since_load_)
    for (size_t k = messages_before; k < rt().messages.size(); ++k)
      if (rt().messages[k] == "selezionare un colore")
        return "a click on a cell of the puzzle that came answered \"selezionare un colore\"";
  // A library record that cannot be loaded leaves the game as it was.
  if (e.kind == "lib" && !lib_loaded_ && !cage_open && edited.empty() &&
      (digits() != digits_before || model_cages() != cages_before || w.filetxt.text() != status_before))
    return "a library load that was refused changed the game";
  if (e.kind == "lib" && lib_loaded_) {
    lib_start_.clear();
    for (int i = 0; i < kCells; ++i) lib_start_.push_back(w.Text2[i].text());
    lib_cages_ = model_cages();
    const std::string layout = stored_field(library_, "SELECT * FROM schema WHERE progressivo = ?",
                                            w.library_record, "kenvari");
    const std::string grid = stored_field(library_, "SELECT * FROM schema WHERE progressivo = ?",
                                          w.library_record, "stringa");
    known_puzzle(cages_of(layout), grid.size() == 81 ? grid : "");
  }
  // The batch generator and the reduction pass load other puzzles, when their hidden buttons
  // are shown.
  if (((e.kind == "tb2" && e.text == "continuo") || (e.kind == "btn" && e.text == "Command1")) &&
      w.Command1.visible() && !refused && (model_cages() != cages_before || digits_before != digits())) {
    known_puzzle({}, "");
    cages_ = model_cages();
  }

  // The cages: only the editor, the loaders and the generators change them.
  const Cages now = model_cages();
  if (!may_change_cages(e) && !cage_open) {
    for (const auto& [cells, sum] : now)
      if (!cages_before.count(cells)) return "a cage appeared: " + to_line(e);
    for (const auto& [cells, sum] : cages_before)
      if (!now.count(cells)) return "a cage vanished: " + to_line(e);
  } else if (!from_source(e) || kept || (e.kind == "open" && !opened_) || (e.kind == "lib" && !lib_loaded_)) {
    // The editor's own cages: what the board says is what the player entered; a cage whose
    // sum box was typed into takes its new sum.
    Cages next;
    for (const auto& [cells, sum] : now) {
      const auto it = cages_.find(cells);
      next[cells] = it != cages_.end() && e.kind != "sum" ? it->second : sum;
    }
    cages_ = next;
  }
  for (auto it = wrong_placed_.begin(); it != wrong_placed_.end();)
    it = w.Text1[it->first].text() == std::string(1, it->second) ? std::next(it) : wrong_placed_.erase(it);
  // A digit the cell did not have as a candidate ("numero errato") stays without taking
  // anything from its peers; cell entry then leaves the cell's candidates as they were.
  if (typed_into >= 0) {
    const std::string& d = w.Text1[typed_into].text();
    if (is_digit(d) && w.Text2[typed_into].text() != d) wrong_placed_[typed_into] = d[0];
  }

  if (w.solve_running) return "the solve flag stays set";
  if (w.generation_running) return "the generation flag stays set";
  if (std::string f = safety_stops_fired(w); !f.empty()) return f;
  if (std::string f = cages_agree(); !f.empty()) return f;
  if (std::string f = solution_kept(); !f.empty()) return f;
  if (std::string f = placed_digits_left_peers(); !f.empty()) return f;
  if (std::string f = boxes_follow_tick(); !f.empty()) return f;
  // A command that first closed a cage or took a new sum solves another puzzle.
  const bool same_puzzle = now == cages_before && solution_holds();
  if (right_before && same_puzzle && is_technique(e) && !all_digits_right()) {
    for (int i = 0; i < kCells; ++i) {
      const std::string& d = w.Text1[i].text();
      if (!d.empty() && d[0] != solution_[static_cast<size_t>(i)])
        return "a technique placed a wrong " + d + " at " + w.rc(i);
    }
  }

  // A full grid that breaks a rule is not a solved puzzle.
  const bool full = grid_full();
  const bool valid = full && grid_valid();
  const std::string level_now = w.txtlivello.text() + "|" + w.testototale.text();
  if (full && !valid) {
    if (rt().beeps != beeps_before) return "a full grid that breaks a rule was reported finished";
    if (level_now != level_before && !w.txtlivello.text().empty())
      return "a full grid that breaks a rule was rated: " + w.txtlivello.text();
  }
  if (w.finito && !valid) return "a board that is not a solved grid is finito";
  // The hint line tells the fault of a full grid only while that grid is on the board, and tells
  // a finished grid no error.
  const std::string& hint = w.txthint.text();
  const bool tells_fault = hint.starts_with("schema completo, ma con errori: ");
  if (tells_fault && (!full || w.board_fault().empty()))
    return "the hint line tells the fault of a full grid that is not on the board: " + hint;
  if (w.finito && (tells_fault || hint.starts_with("  numero errato")))
    return "the hint line tells an error of a finished grid: " + hint;
  if (valid && !complete_before && digits() != digits_before && rt().beeps - beeps_before != 1)
    return "the completed grid was reported " + std::to_string(rt().beeps - beeps_before) + " times";
  if (complete_before && rt().beeps != beeps_before) return "a finished grid was reported again";

  // A solve that finds no solution leaves the player's digits as they were.
  if (is_solve(e) && digits() != digits_before)
    for (size_t k = messages_before; k < rt().messages.size(); ++k)
      if (rt().messages[k] == "schema senza soluzione")
        return "a solve that said \"schema senza soluzione\" changed the digits";

  // A solve from a right position ends with the solution, or says why not.
  if (is_solve(e) && right_before && same_puzzle) {
    bool solved = true;
    for (int i = 0; i < kCells; ++i)
      if (w.Text1[i].text() != std::string(1, solution_[static_cast<size_t>(i)])) solved = false;
    const bool told = rt().messages.size() > messages_before;
    std::set<Cage> board;
    for (const auto& [cells, sum] : now) board.insert({cells, sum});
    const bool several_told = several_ && told && rt().messages.back() == "schema con più di una soluzione";
    if (!solved && !several_told && ((board == origin_ && w.cellacolorata == 0) || !told))
      return std::string("a solve from a right position ended ") +
             (told ? "with a message on the whole puzzle: " + rt().messages.back()
                   : "without the solution and without a message");
    if (!solved && !all_digits_right()) return "a solve that found nothing left wrong digits";
  }

  // A solve on a busy machine ends solved, or with its count cut short and the player's digits
  // as they were.
  if (e.kind == "slow" && right_before && same_puzzle && !busy && !complete_before) {
    bool solved = true;
    for (int i = 0; i < kCells; ++i)
      if (w.Text1[i].text() != std::string(1, solution_[static_cast<size_t>(i)])) solved = false;
    if (!solved) {
      const bool told = rt().messages.size() > messages_before;
      std::set<Cage> board;
      for (const auto& [cells, sum] : now) board.insert({cells, sum});
      const bool whole = board == origin_ && w.cellacolorata == 0;
      const std::string said = told ? rt().messages.back() : "";
      const bool expected = said == "conteggio interrotto" ||
                            (several_ && said == "schema con più di una soluzione");
      if (!told || (whole && !expected))
        return "a solve on a busy machine ended unsolved " +
               (told ? "with " + rt().messages.back() : std::string("without a message"));
      if (rt().messages.back() == "conteggio interrotto" && digits() != digits_before)
        return "a count cut short changed the player's digits";
    }
  }

  // The library: nothing but the record the puzzle came from is ever written, and that record
  // only by a solve from the puzzle's start: a game in progress leaves it its rating.
  if (is_solve(e) || e.kind == "slow" || e.kind == "lib" || e.kind == "gen" || e.kind == "btn" ||
      (e.kind == "tb2" && (e.text == "genera" || e.text == "continuo" || e.text == "libreria"))) {
    // The reduction pass ("tenta riduzione") marks the damaged record.
    const int allowed = e.kind == "btn" && e.text == "Command1" ? damaged_record_
                        : !(is_solve(e) || e.kind == "slow") || from_library_start ? record_before
                                                              : 0;
    if (std::string f = library_fault(allowed); !f.empty()) return f;
  }
  return "";
}

// ---------------------------------------------------------------------------------------------
// Files

std::vector<int> Player::focused_sum_cage() const {
  const Main& w = *s_.m;
  std::vector<int> cells;
  for (int g = 0; g < kCells; ++g)
    if (w.textsomma[g].has_focus() && w.sommagruppo[g].is_number())
      for (int i = 0; i < kCells; ++i)
        if (w.cage_of(i) == g) cells.push_back(i);
  return cells;
}

void Player::take_edited_sum(const std::vector<int>& cells) {
  const Cages now = model_cages();
  if (const auto it = now.find(cells); !cells.empty() && it != now.end()) cages_[cells] = it->second;
}

std::string Player::save_and_open(const Event& e) {
  Main& w = m();
  static const char* const kExt[] = {".sa+", ".sc+", ".sas", ".txt"};
  const int f = std::clamp(e.a, 0, 3);
  const std::string name = (fs::path(folder_) / ("f" + std::to_string(files_++) + kExt[f])).string();
  const bool had_cages = !model_cages().empty();
  const bool cage_open = w.cellacolorata > 0;
  const std::vector<int> edited = focused_sum_cage();
  const size_t told = rt().messages.size();
  rt().save_answers.assign({name});
  if (f == 3) {
    if (!w.Command2.visible()) run({"frame", 0, 0, "", e.answer, e.gate});
    if (w.Command2.visible() && w.Command2.on_click) w.Command2.on_click();
  } else {
    run({e.b == 0 ? "tb2" : "menu", 0, 0, e.b == 0 ? "save" : "mnusave", e.answer, e.gate});
  }
  rt().save_answers.clear();
  // The command first took what was typed into a sum box: the board is saved as it then stood.
  take_edited_sum(edited);
  const Cages cages = model_cages();
  if (cage_open)  // and closed by the command
    for (const auto& [cells, sum] : cages) cages_.try_emplace(cells, sum);
  std::vector<std::string> digits, candidates;
  for (int i = 0; i < kCells; ++i) {
    digits.push_back(w.Text1[i].text());
    candidates.push_back(w.Text2[i].text());
  }
  if (!fs::exists(name)) {
    // A puzzle on the board is saved, or the player is told why not.
    if (had_cages && rt().messages.size() == told)
      return "the board's cages were not saved as " + std::string(kExt[f]) + ", and nothing was said";
    return "";
  }
  const std::string bytes = file_bytes(name);
  std::vector<std::string> lines = lines_of(bytes);

  std::string cell_fields;
  for (int i = 0; i < kCells; ++i) cell_fields += (digits[i].empty() ? candidates[i] : digits[i]) + ",";
  if (f == 2) {
    if (lines.empty() || lines[0] != cell_fields) return "the sas file is not the board: " + lines[0];
  }
  if (f == 3) {
    std::string grid;
    for (const std::string& d : digits) grid += d;
    if (!lines[0].starts_with(grid + " ")) return "the export does not start with the board's digits";
    const size_t second = lines[0].find(' ', grid.size() + 1);
    if (second == std::string::npos) return "the export has no cages";
    Cages written;
    for (const TextCage& c : cages_of(lines[0].substr(second + 1))) written[sorted(c.cells)] = c.sum;
    if (written != cages_) return "the export's cages are not the board's: " + lines[0];
  }

  // Opened again, where the format can be opened. A player asked whether to give up the game on
  // the board for it may keep the game: the board stays as it was saved.
  const size_t before_open = rt().messages.size();
  rt().open_answers.assign({name});
  run({e.b == 0 ? "tb2" : "menu", 0, 0, e.b == 0 ? "open" : "mnuopen", e.answer, e.gate});
  rt().open_answers.clear();
  if (asked_to_discard(rt().messages, before_open) && e.answer == 'C') {
    for (int i = 0; i < kCells; ++i)
      if (w.Text1[i].text() != digits[i] || (digits[i].empty() && w.Text2[i].text() != candidates[i]))
        return "the player kept the game instead of the file, but " + w.rc(i) + " changed";
    if (model_cages() != cages) return "the player kept the game instead of the file, but its cages changed";
    return "";
  }
  if (f != 2) colour_since_load_ = false;  // the file was opened again (an "sas" cannot be)
  if (f == 2) {
    for (int i = 0; i < kCells; ++i)
      if (w.Text1[i].text() != digits[i]) return "opening a sas file changed the board";
    return "";
  }
  if (model_cages() != cages_) {
    const auto text = [&w](const std::vector<int>& cells, int sum) {
      std::string t = std::to_string(sum) + ":";
      for (const int c : cells) t += " " + w.rc(c);
      return t + "; ";
    };
    const Cages got = model_cages();
    std::string only_board, only_file;
    for (const auto& [cells, sum] : cages_)
      if (!got.count(cells) || got.at(cells) != sum) only_board += text(cells, sum);
    for (const auto& [cells, sum] : got)
      if (!cages_.count(cells) || cages_.at(cells) != sum) only_file += text(cells, sum);
    return "the " + std::string(kExt[f]) + " file reopened to other cages: the board had " +
           only_board + "the file gave " + only_file + "\nfile: " + lines[0];
  }
  for (int i = 0; i < kCells; ++i) {
    const std::string want = f == 1 ? digits[i] : "";
    if (w.Text1[i].text() != want)
      return "the " + std::string(kExt[f]) + " file reopened with " + w.rc(i) + " = '" + w.Text1[i].text() + "'";
    if (f == 1 && want.empty() && w.Text2[i].text() != candidates[i])
      return "the sc+ file reopened with the candidates of " + w.rc(i) + " " + w.Text2[i].text() +
             " instead of " + candidates[i];
  }
  if (f != 1) wrong_placed_.clear();
  return "";
}

std::string Player::open_written(const Event& e) {
  Main& w = m();
  const Puzzle& p = puzzles()[static_cast<size_t>(e.b) % puzzles().size()];
  static const char* const kExt[] = {".sav", ".txt", ".sas", ".sa+", ".sa+", ".sc+"};
  const int f = std::clamp(e.a, 0, 5);
  const std::string name = (fs::path(folder_) / ("o" + std::to_string(files_++) + kExt[f])).string();
  std::ofstream out(name, std::ios::binary);
  const std::vector<TextCage> cages = cages_of(p.layout);
  if (f == 0) {
    for (size_t k = 0; k < cages.size(); ++k) {
      out << k << "," << cages[k].sum << ",0," << cages[k].cells.size();
      for (const int c : cages[k].cells) out << "," << c;
      out << "\r\n";
    }
  } else if (f == 1) {
    out << p.solution.substr(0, 9) << " 5 " << p.layout << "\r\n";
  } else if (f == 2) {
    for (int i = 0; i < kCells; ++i) out << "123456789,";
    out << "\r\n";
  } else if (f == 4) {  // damaged: the last cage's last cell is no cell
    out << p.layout.substr(0, p.layout.size() - 3) << "81;\r\n";
  } else if (f == 5) {  // damaged: the cell line is short
    out << p.layout << "\r\n" << "123456789,123456789,\r\n";
  } else {
    out << p.layout << "\r\n";
  }
  out.close();
  // A file that cannot be opened leaves the game as it was: digits, cages and the status line,
  // and the candidates unless the command first closed a cage or took a typed sum.
  const bool closes = w.cellacolorata > 0 || !focused_sum_cage().empty();
  const std::string digits_before = digits(), status = w.filetxt.text();
  const Cages cages_before = model_cages();
  std::vector<std::string> candidates;
  for (int i = 0; i < kCells; ++i) candidates.push_back(w.Text2[i].text());
  rt().open_answers.assign({name});
  run({"tb2", 0, 0, "open", e.answer, e.gate});
  rt().open_answers.clear();
  if (f == 2 || f == 4 || f == 5) {
    if (digits() != digits_before) return "a file that cannot be opened changed the digits";
    if (w.filetxt.text() != status) return "a file that cannot be opened changed the status line";
    if (closes) return "";
    if (model_cages() != cages_before) return "a file that cannot be opened changed the cages";
    for (int i = 0; i < kCells; ++i)
      if (candidates[static_cast<size_t>(i)] != w.Text2[i].text())
        return "a file that cannot be opened changed the candidates of " + w.rc(i);
    return "";
  }
  if (!w.filetxt.text().ends_with(name)) return "";  // refused: nothing was opened
  opened_ = true;
  known_puzzle(cages, p.solution);
  return "";
}

// ---------------------------------------------------------------------------------------------
// What the player knows, and the checks

bool Player::at_library_start() const {
  const Main& w = *s_.m;
  if (lib_start_.size() != static_cast<size_t>(kCells)) return false;
  for (int i = 0; i < kCells; ++i)
    if (!w.Text1[i].text().empty() || w.Text2[i].text() != lib_start_[static_cast<size_t>(i)]) return false;
  return model_cages() == lib_cages_;
}

void Player::known_puzzle(const std::vector<TextCage>& cages, const std::string& solution) {
  cages_.clear();
  origin_.clear();
  for (const TextCage& c : cages) {
    cages_[sorted(c.cells)] = c.sum;
    origin_.insert({sorted(c.cells), c.sum});
  }
  solution_ = solution;
  several_ = false;
  hand_edited_ = false;
  wrong_placed_.clear();
}

std::vector<std::string> Player::boxes() const {
  std::vector<std::string> out;
  for (int i = 0; i < kCells; ++i) out.push_back(s_.m->Text1[i].text() + "/" + s_.m->Text2[i].text());
  return out;
}

std::string Player::digits() const {
  std::string out;
  for (int i = 0; i < kCells; ++i) out += s_.m->Text1[i].text().empty() ? "." : s_.m->Text1[i].text();
  return out;
}

std::map<int, std::vector<int>> Player::closed_cage_cells() const {
  const Main& w = *s_.m;
  std::map<int, std::vector<int>> cells;
  for (int i = 0; i < kCells; ++i)
    if (const int g = w.cage_of(i); g >= 0 && w.sommagruppo[g].is_number()) cells[g].push_back(i);
  return cells;
}

Player::Cages Player::model_cages() const {
  const Main& w = *s_.m;
  Cages out;
  for (const auto& [g, list] : closed_cage_cells()) {
    int sum = w.sommagruppo[g].as_int();
    for (const int c : list)
      if (is_digit(w.Text1[c].text())) sum += w.Text1[c].text()[0] - '0';
    out[list] = sum;
  }
  return out;
}

bool Player::solution_holds() const {
  if (solution_.size() != 81) return false;
  for (const auto& [cells, sum] : model_cages())
    if (!origin_.count({cells, sum})) return false;
  return true;
}

bool Player::all_digits_right() const {
  const Main& w = *s_.m;
  for (int i = 0; i < kCells; ++i) {
    const std::string& d = w.Text1[i].text();
    if (!d.empty() && d[0] != solution_[static_cast<size_t>(i)]) return false;
  }
  return true;
}

bool Player::grid_full() const {
  for (int i = 0; i < kCells; ++i)
    if (!is_digit(s_.m->Text1[i].text())) return false;
  return true;
}

bool Player::grid_valid() const {
  std::vector<TextCage> cages;
  for (const auto& [cells, sum] : cages_) cages.push_back({sum, cells});
  return killer_fault(digits(), cages).empty();
}

std::string Player::cages_agree() const {
  const Main& w = *s_.m;
  const std::map<int, std::vector<int>> cells = closed_cage_cells();
  for (const auto& [g, list] : cells) {
    std::set<int> empty;
    int digits = 0;
    for (const int c : list) {
      if (w.Text1[c].text().empty())
        empty.insert(c);
      else if (is_digit(w.Text1[c].text()))
        digits += w.Text1[c].text()[0] - '0';
      else
        return w.rc(c) + " holds '" + w.Text1[c].text() + "'";
    }
    std::set<int> listed;
    for (int k = 1; k <= w.cage_size(g); ++k) listed.insert(w.cage_cell(g, k));
    const std::string which = "cage " + std::to_string(g) + " of " + w.rc(list[0]);
    if (w.cage_size(g) != w.elementigruppo[g].num()) return "the count of " + which;
    if (listed != empty) return "the list of " + which + " is not its empty cells";
    const auto known = cages_.find(list);
    if (known == cages_.end()) return which + " is not a cage the player knows";
    if (w.sommagruppo[g].num() != known->second - digits)
      return "the remaining sum of " + which + " is " + w.sommagruppo[g].text() + ", not " +
             std::to_string(known->second - digits);
  }
  if (cages_.size() != cells.size()) return "a cage the player knows is gone from the board";
  return "";
}

std::string Player::solution_kept() const {
  const Main& w = *s_.m;
  if (!solution_holds() || hand_edited_ || !all_digits_right()) return "";
  for (int i = 0; i < kCells; ++i)
    if (w.Text1[i].text().empty() && w.Text2[i].text().find(solution_[static_cast<size_t>(i)]) == std::string::npos)
      return w.rc(i) + " lost its solution digit " + std::string(1, solution_[static_cast<size_t>(i)]) +
             " (" + w.Text2[i].text() + ")";
  return "";
}

std::string Player::placed_digits_left_peers() const {
  const Main& w = *s_.m;
  if (hand_edited_) return "";
  for (int i = 0; i < kCells; ++i) {
    const std::string& d = w.Text1[i].text();
    if (!is_digit(d) || wrong_placed_.count(i)) continue;
    for (const int p : peers(i))
      if (w.Text1[p].text().empty() && w.Text2[p].text().find(d[0]) != std::string::npos)
        return "the " + d + " placed at " + w.rc(i) + " is still a candidate of " + w.rc(p) +
               " (" + w.Text2[p].text() + ")";
  }
  return "";
}

// Each cell shows one box, the one the pencil-mark tick asks for: with the tick an empty cell its
// candidates, else its digit box. The cell whose digit box has the focus may show either.
std::string Player::boxes_follow_tick() const {
  const Main& w = *s_.m;
  const bool ticked = w.mnupencil.checked();
  for (int i = 0; i < kCells; ++i) {
    const bool digit = w.Text1[i].visible(), candidates = w.Text2[i].visible();
    const bool empty = w.Text1[i].text().empty();
    const bool wanted = ticked && empty ? candidates && !digit : digit && !candidates;
    const bool focused_entry = ticked && empty && w.Text1[i].has_focus() && digit && !candidates;
    if (wanted || focused_entry) continue;
    const auto shown = [&] {
      return digit && candidates ? "both boxes" : digit ? "its digit box" : candidates ? "its candidates" : "no box";
    };
    return w.rc(i) + (empty ? " (empty)" : " (filled)") + " shows " + shown() + " with the pencil marks " +
           (ticked ? "on" : "off");
  }
  return "";
}

std::map<std::int64_t, std::string> Player::library_rows() const {
  std::map<std::int64_t, std::string> rows;
  DataControl r;
  r.set_database_name(library_);
  r.set_record_source("SELECT * FROM schema");
  if (!r.Refresh()) return rows;
  static const char* const kFields[] = {"livello", "singoli", "kenvari", "tempo", "difficolta",
                                        "dettaglio", "stringa"};
  while (!r.eof()) {
    std::string row;
    for (const char* f : kFields) row += r.field(f) + "|";
    rows[std::stoll(r.field("progressivo"))] = row;
    if (!r.MoveNext()) break;
  }
  return rows;
}

std::string Player::library_fault(int allowed_record) const {
  const auto now = library_rows();
  for (const auto& [key, row] : now) {
    const auto it = library_before_.find(key);
    if (it == library_before_.end()) return "a record appeared in the library: " + std::to_string(key);
    if (it->second != row && key != allowed_record)
      return "library record " + std::to_string(key) + " was written";
  }
  if (now.size() != library_before_.size()) return "a library record vanished";
  const_cast<Player*>(this)->library_before_ = now;
  return "";
}

// ---------------------------------------------------------------------------------------------
// Replay and shrinking

Outcome replay(const std::vector<Event>& events) {
  Player player;
  for (size_t k = 0; k < events.size(); ++k) {
    std::string fault;
    try {
      fault = player.play(events[k]);
    } catch (const std::exception& ex) {
      fault = std::string("exception: ") + ex.what();
    }
    if (!fault.empty()) return {k, fault, player.slowest_ms, player.slowest};
  }
  return {events.size(), "", player.slowest_ms, player.slowest};
}

// The first event, which puts the puzzle on the board, stays: before any puzzle the window is
// in its start-up state, which no player plays on for long.
// Long sequences take long to replay: the shrinking stops after a couple of minutes with the
// shortest sequence found so far.
std::vector<Event> shrink(std::vector<Event> events, const std::string& fault) {
  const std::string words = fault.substr(0, std::min(fault.find('('), fault.size()));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
  const auto fails = [&words, deadline](const std::vector<Event>& seq) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    const Outcome o = replay(seq);
    return o.failed_at < seq.size() && o.fault.starts_with(words);
  };
  // Everything after the failing event goes first, then chunks of halving size.
  const Outcome first = replay(events);
  if (first.failed_at < events.size()) events.resize(first.failed_at + 1);
  for (size_t chunk = events.size() / 2; chunk >= 1; chunk /= 2) {
    for (size_t start = 1; start + chunk <= events.size();) {
      std::vector<Event> shorter(events.begin(), events.begin() + static_cast<long>(start));
      shorter.insert(shorter.end(), events.begin() + static_cast<long>(start + chunk), events.end());
      if (!shorter.empty() && fails(shorter))
        events = shorter;
      else
        start += chunk;
    }
    if (chunk == 1) break;
  }
  return events;
}

}  // namespace ks::test
