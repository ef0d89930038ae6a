// Keeps the window of one form up to date with the model, in batches: the model's notifications
// only record what changed and start one short timer; when it fires, the screen catches up.
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "form_window.h"

namespace ks::view {

class FormView : public FormObserver {
 public:
  explicit FormView(Form& form);
  ~FormView() override;
  FormView(const FormView&) = delete;
  FormView& operator=(const FormView&) = delete;

  Form& form() const { return form_; }
  FormWindow& window() const { return *window_; }
  // Brings the screen up to date now.
  void flush();
  // Whether a change of the model still waits for the batched repaint.
  bool pending() const { return pending_; }

  // Runs once, just before the window is shown for the first time (to place it).
  std::function<void(FormWindow&)> before_first_show;

  void control_changed(Control& c) override;
  void form_changed(Form& f) override;
  void focus_changed(Form& f) override;

 private:
  void schedule();
  void sync_timers();
  void sync_visibility();

  Form& form_;
  std::unique_ptr<FormWindow> window_;
  QTimer flush_timer_;
  QElapsedTimer since_flush_;
  std::vector<std::unique_ptr<QTimer>> timers_;  // one per model timer, same order
  std::vector<char> ticking_;                      // a timer's handler is running
  bool pending_ = false;
  bool form_dirty_ = true;
  bool focus_dirty_ = true;
  bool shown_once_ = false;
};

}  // namespace ks::view
