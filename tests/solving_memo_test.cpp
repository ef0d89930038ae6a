// The memos of the solving procedures change nothing but the time: the solving commands run with
// them and without them (Main::memos_enabled) leave the window in the same state at every
// yield, every variable and table that a procedure reads included, and at the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "solving_support.h"

namespace ks {
namespace {

using test::Started;

// A hash of the fields of the window, word by word, each field on its own so that a difference
// names the field.
class Print {
 public:
  void begin(const char* name) {
    names_.push_back(name);
    hashes_.push_back(kBasis);
  }
  void add(std::uint64_t x) {
    std::uint64_t& h = hashes_.back();
    h = (h ^ x) * kPrime;
    h ^= h >> 29;
  }
  void add(const std::string& s) {
    add(s.size());
    std::uint64_t word = 0;
    for (size_t i = 0; i < s.size(); ++i) {
      word = word << 8 | static_cast<unsigned char>(s[i]);
      if (i % 8 == 7) add(word);
    }
    add(word);
  }
  void add(const Value& v) {
    add(static_cast<std::uint64_t>(v.kind()));
    const double d = v.num();
    std::uint64_t bits = 0;
    static_assert(sizeof bits == sizeof d);
    std::memcpy(&bits, &d, sizeof d);
    add(bits);
  }
  template <typename T, size_t N>
  void add_all(const std::array<T, N>& a) {
    for (const T& x : a) add(x);
  }

  const std::vector<const char*>& names() const { return names_; }
  const std::vector<std::uint64_t>& hashes() const { return hashes_; }

 private:
  static constexpr std::uint64_t kBasis = 1469598103934665603ull;
  static constexpr std::uint64_t kPrime = 1099511628211ull;
  std::vector<const char*> names_;
  std::vector<std::uint64_t> hashes_;
};

// Everything of the window that the solving procedures read or write. `whole` adds what is long
// to hash at every yield: every stored combination of every cage number and the activity log
// (of which every yield takes the length).
Print print_of(const Main& m, bool whole) {
  Print p;
  p.begin("cells");
  for (int i = 0; i < kCells; ++i) {
    p.add(m.Text1[i].text());
    p.add(m.Text2[i].text());
    p.add(m.board_index().candidate_bits(i));
    p.add(m.Text1[i].back_color());
    p.add(m.Text2[i].back_color());
    p.add(static_cast<std::uint64_t>(m.Text1[i].visible()));
  }
  p.begin("cage model");
  p.add_all(m.sommagruppo.rows());
  p.add_all(m.elementigruppo.rows());
  for (const auto& cells : m.cellegruppo) p.add_all(cells);
  p.add_all(m.gruppodicella.rows());
  p.begin("numerosomme");
  p.add_all(m.numerosomme);
  p.begin("numeriobbligati");
  p.add_all(m.numeriobbligati);
  p.begin("elencosomme");
  for (int g = 0; g < kCageSlots; ++g) {
    const int count = whole ? kMaxCombos : std::clamp(m.numerosomme[g].as_int(), 0, kMaxCombos);
    for (int k = 1; k <= count; ++k) p.add(m.elencosomme[g][k]);
  }
  p.begin("derived cages");
  p.add_all(m.nuovogruppodicella1);
  p.add_all(m.nuovogruppodicella2);
  p.begin("rule of 45 lists");
  p.add_all(m.gruppiregione);
  p.add_all(m.celleinterne);
  p.add_all(m.celleesterne);
  p.add(m.el_interni);
  p.add(m.el_esterni);
  p.begin("working copies");
  p.add_all(m.sommacopia);
  for (const auto& cells : m.cellecopia) p.add_all(cells);
  p.add_all(m.elementicopia);
  p.add_all(m.listaappoggio);
  p.add_all(m.cellesalvate);
  p.add_all(m.grigliasoluzione);
  p.add_all(m.grigliaprova);
  p.begin("numbers");
  for (const int x : {m.gruppi, m.gruppo1, m.esposti, m.livello, m.tot, m.soluzioni, m.volte,
                      m.volteestese, m.lunghezza, m.lunghezza1, m.dopominimo, m.trial_nesting,
                      m.palette_cell, m.cellacolorata, m.liv1, m.liv2, m.liv3, m.liv4, m.liv5,
                      m.liv6, m.liv7, m.liv8, m.liv9, m.liv10, m.liv11, m.liv12, m.liv13, m.liv14,
                      static_cast<int>(m.count_result), static_cast<int>(m.board_index().steps_shown())})
    p.add(static_cast<std::uint64_t>(x));
  p.begin("scratch numbers");
  for (const int x : {m.gruppo, m.cella, m.cella1, m.riga, m.colonna, m.settore, m.indice,
                      m.gruppoproblema, m.contatoredimessaggio})
    p.add(static_cast<std::uint64_t>(x));
  p.begin("flags");
  for (const bool x : {m.finito, m.ins_dati, m.problema, m.incongruenza, m.modificato,
                       m.generatorecontinuo, m.generaeconta, m.conteggioeseguito,
                       m.varcontrolloesteso, m.sommeestese, m.doppiedoppie, m.filelibreria,
                       m.colori})
    p.add(static_cast<std::uint64_t>(x));
  p.begin("mode words");
  for (const std::string* s : {&m.calling, &m.calling1, &m.chiamante, &m.origine, &m.origine1,
                               &m.scelta, &m.numero, &m.stringaliv, &m.testoselezionato})
    p.add(*s);
  p.begin("stringa");
  p.add(m.stringa);
  p.begin("testo");
  p.add(m.testo);
  p.begin("texts");
  for (const TextBox* t : {&m.txthint, &m.Text5, &m.txtesposti, &m.txtvuoti, &m.txtstringa,
                           &m.txtlivello, &m.txtlivello1, &m.testototale, &m.tempo})
    p.add(t->text());
  p.begin("log");
  if (whole)
    p.add(m.frmlog.Text3.text());
  else
    p.add(m.frmlog.Text3.text().size());
  p.begin("generator log");
  p.add(m.frmgeneratore.Text1.text());
  return p;
}

// A run of a command: the print at every yield, and the whole print at the end.
struct Run {
  std::vector<std::vector<std::uint64_t>> yields;
  Print end;
  std::string stops;  // the safety stops that fired, "" when none
};

// Sets a window up before the command; what it returns (the player at the traffic light) lives
// as long as the window.
using Prepare = std::function<std::shared_ptr<void>(Started&)>;

// Runs `command` on a fresh window with the memos on or off. `prepare` sets the window up (and
// may hook the yields, which the run then follows with its own print).
Run run(bool memos, const Prepare& prepare, const std::function<void(Main&)>& command) {
  Started s;
  Main& m = *s.m;
  m.memos_enabled = memos;
  const std::shared_ptr<void> keep = prepare(s);
  Run r;
  s.rt.on_yield = [&, inner = s.rt.on_yield] {
    r.yields.push_back(print_of(m, false).hashes());
    if (inner) inner();
  };
  command(m);
  s.rt.on_yield = nullptr;
  r.end = print_of(m, true);
  r.stops = test::safety_stops_fired(m);
  return r;
}

// The first difference between the run with the memos and the run without: "" when none.
std::string difference(const Run& with, const Run& without) {
  const std::vector<const char*>& names = with.end.names();
  const size_t n = std::min(with.yields.size(), without.yields.size());
  for (size_t y = 0; y < n; ++y)
    for (size_t f = 0; f < names.size(); ++f)
      if (with.yields[y][f] != without.yields[y][f])
        return "yield " + std::to_string(y) + ": " + names[f];
  if (with.yields.size() != without.yields.size())
    return "yields " + std::to_string(with.yields.size()) + " with the memos, " +
           std::to_string(without.yields.size()) + " without";
  for (size_t f = 0; f < names.size(); ++f)
    if (with.end.hashes()[f] != without.end.hashes()[f]) return std::string("end: ") + names[f];
  return "";
}

// The first difference, or the safety stops that fired in either run: "" when none.
std::string same_either_way(const Prepare& prepare, const std::function<void(Main&)>& command) {
  const Run with = run(true, prepare, command), without = run(false, prepare, command);
  for (const Run* r : {&with, &without})
    if (!r->stops.empty()) return r->stops;
  return difference(with, without);
}

// Every puzzle of tests/data, or (in the normal run) every third and those that need trial and
// verify; KS_MEMO=long takes them all.
std::vector<test::Puzzle> sample() {
  const char* v = std::getenv("KS_MEMO");
  const bool all = v != nullptr && std::string(v) == "long";
  std::vector<test::Puzzle> out;
  const std::vector<test::Puzzle>& puzzles = test::puzzles();
  for (size_t i = 0; i < puzzles.size(); ++i)
    if (all || i % 3 == 0) out.push_back(puzzles[i]);
  for (const auto& [layout, solution, id] : test::data_lines("killer_trial.txt"))
    out.push_back({layout, solution, id});
  return out;
}

void load(Started& s, const std::string& layout) { test::load_from_library(*s.m, layout); }

TEST(SolvingMemo, SolveAndCountLeaveTheSameStateAtEveryYield) {
  for (const test::Puzzle& p : sample()) {
    const auto prepare = [&](Started& s) {
      load(s, p.layout);
      return std::shared_ptr<void>();
    };
    EXPECT_EQ(same_either_way(prepare, [](Main& m) { m.Toolbar2_ButtonClick("risolvi"); }), "")
        << "solve " << p.id;
    EXPECT_EQ(same_either_way(prepare,
                              [](Main& m) {
                                m.chiamante = "analisi";
                                m.conta_soluzioni_tecniche();
                              }),
              "")
        << "count " << p.id;
  }
}

// The steps wait at the traffic light: the hint command answered green, and the technique keys
// answered red at every fifth wait (a refused step changes nothing, yet it was a finding).
TEST(SolvingMemo, StepsAtTheTrafficLightLeaveTheSameStateAtEveryYield) {
  for (const test::Puzzle& p : sample()) {
    int waits = 0;
    const auto green = [&](Started& s) {
      load(s, p.layout);
      return std::shared_ptr<void>(std::make_shared<test::Light>(s));
    };
    EXPECT_EQ(same_either_way(green,
                              [](Main& m) {
                                for (int press = 0; press < 400 && m.esposti < kCells; ++press) {
                                  const long before = m.board_index().steps_shown();
                                  m.Toolbar1_ButtonClick("suggerisci");
                                  if (m.board_index().steps_shown() == before) break;
                                }
                              }),
              "")
        << "hints " << p.id;
    const auto red_at_fifth = [&](Started& s) {
      std::shared_ptr<void> light = green(s);
      waits = 0;
      s.rt.on_yield = [&, &m = *s.m, inner = s.rt.on_yield] {
        if (m.Pictgo.visible() && m.scelta.empty() && ++waits % 5 == 0) m.Pictalt.on_click();
        inner();
      };
      return light;
    };
    EXPECT_EQ(same_either_way(red_at_fifth,
                              [](Main& m) {
                                const char* keys[] = {"somme", "gruppovsgruppo", "impossibili",
                                                      "obbligate", "pair", "gruppi"};
                                for (int round = 0; round < 8 && m.esposti < kCells; ++round) {
                                  for (const char* key : keys) m.Toolbar1_ButtonClick(key);
                                  m.Command3.on_click();
                                }
                              }),
              "")
        << "keys " << p.id;
  }
}

// The generate command from a few seeds: the same tries, the same puzzle, the same rating.
TEST(SolvingMemo, GenerateCommandLeavesTheSameStateAtEveryYield) {
  for (std::uint32_t seed = 1; seed <= 6; ++seed) {
    const auto prepare = [seed](Started& s) {
      s.rt.Randomize(seed);
      return std::shared_ptr<void>();
    };
    EXPECT_EQ(same_either_way(prepare, [](Main& m) { m.Toolbar2.on_button_click("genera"); }), "")
        << "seed " << seed;
  }
}

}  // namespace
}  // namespace ks
