// The runtime used when no window system is present (tests, benchmarks): a clock the caller
// moves, a fixed random seed, scripted message-box answers with a record of every message, and
// hooks that run at every yield.
#pragma once

#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/runtime.h"

namespace ks {

class HeadlessRuntime : public Runtime {
 public:
  HeadlessRuntime() { Randomize(1u); }

  void DoEvents() override { yield(); }
  void WaitEvents(int) override { yield(); }

  MsgAnswer MsgBox(const std::string& text, MsgButtons buttons) override {
    messages.push_back(text);
    if (buttons == MsgButtons::Ok) return MsgAnswer::Ok;
    if (answers.empty()) return default_answer;
    MsgAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
  void Beep() override { ++beeps; }
  float Timer() override { return clock; }
  double timeGetTime() override { return ms_clock; }

  std::string ShowOpen(const std::string& filter) override {
    last_filter = filter;
    return next(open_answers);
  }
  std::string ShowSave(const std::string& filter) override {
    last_filter = filter;
    return next(save_answers);
  }
  PrintOutcome PrintForm(Form&) override {
    ++prints;
    return print_outcome;
  }
  std::string AppPath() override { return app_path; }
  void Busy(bool on) override { busy += on ? 1 : -1; }

  // What the test controls and reads.
  float clock = 0.0f;
  double ms_clock = 0.0;
  std::deque<MsgAnswer> answers;           // answers to OK/Cancel boxes, then default_answer
  MsgAnswer default_answer = MsgAnswer::Ok;
  std::vector<std::string> messages;       // every message box shown, in order
  std::deque<std::string> open_answers;    // file names the open dialog returns
  std::deque<std::string> save_answers;    // file names the save dialog returns
  std::string last_filter;
  std::function<void()> on_yield;          // runs at every yield
  std::function<void()> check_at_yield;    // runs at every yield, before on_yield
  std::string app_path = ".";
  long yields = 0;
  int beeps = 0;
  int prints = 0;                          // print dialogs opened
  PrintOutcome print_outcome = PrintOutcome::Printed;  // how each of them ends
  int busy = 0;  // how many pieces of long work are running
  // A wait that nobody answers would never end; past this many yields in all the runtime gives
  // up so that a faulty test fails instead of hanging.
  long max_yields = 50'000'000;

 private:
  void yield() {
    if (++yields > max_yields) throw std::runtime_error("headless runtime: too many yields");
    if (check_at_yield) check_at_yield();
    if (on_yield) on_yield();
  }
  static std::string next(std::deque<std::string>& q) {
    if (q.empty()) return "";
    std::string s = q.front();
    q.pop_front();
    return s;
  }
};

}  // namespace ks
