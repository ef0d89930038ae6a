// The services the program's procedures call on the desktop: yielding to the event loop, message
// boxes, beep, clocks, random numbers, file dialogs, printing and the program's folder.
#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace ks {

class Form;

// Seconds from one reading of the seconds-since-midnight clock (Runtime::Timer) to a later one: a
// span across midnight goes on counting. Example: 86399.5 -> 0.5 is 1 second.
inline double seconds_between(float from, float to) {
  const double s = static_cast<double>(to) - static_cast<double>(from);
  return s < 0 ? s + 86400.0 : s;
}

enum class MsgButtons { Ok, OkCancel };
enum class MsgAnswer { Ok, Cancel };
// How a print ended: the player who cancels the dialog has nothing to be told, a failure must be.
enum class PrintOutcome { Printed, Cancelled, Failed };

class Runtime {
 public:
  virtual ~Runtime() = default;

  // Lets pending events run once and returns.
  virtual void DoEvents() = 0;
  // Lets pending events run; when there are none, sleeps until one arrives or max_ms pass.
  // Used by loops that only wait for the user, so that they do not keep a processor busy.
  virtual void WaitEvents(int max_ms) = 0;

  virtual MsgAnswer MsgBox(const std::string& text, MsgButtons buttons = MsgButtons::Ok) = 0;
  virtual void Beep() = 0;

  // Seconds since midnight, single precision.
  virtual float Timer() = 0;
  // A millisecond clock.
  virtual double timeGetTime() = 0;

  // Open and save dialogs; the filter is "description|pattern|...". "" when cancelled.
  virtual std::string ShowOpen(const std::string& filter) = 0;
  virtual std::string ShowSave(const std::string& filter) = 0;

  // Asks for a printer and prints an image of the window.
  virtual PrintOutcome PrintForm(Form& form) = 0;

  // The folder of the program, without a trailing separator.
  virtual std::string AppPath() = 0;

  // Long work (a solve, a generation) starts or ends: the window shows that it is working, and
  // stays alive through the yields. Calls nest; see BusyScope.
  virtual void Busy(bool on) { (void)on; }

  // Uniform random numbers in [0, 1); Randomize seeds the generator.
  void Randomize(std::uint32_t seed) { rng_.seed(seed); }
  float Rnd() { return std::uniform_real_distribution<float>(0.0f, 1.0f)(rng_); }

 private:
  std::mt19937 rng_{12345u};
};

// Marks the lifetime of a piece of long work: busy from construction to destruction.
class BusyScope {
 public:
  explicit BusyScope(Runtime& rt) : rt_(rt) { rt_.Busy(true); }
  ~BusyScope() { rt_.Busy(false); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  Runtime& rt_;
};

}  // namespace ks
