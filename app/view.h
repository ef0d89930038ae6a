// The view of the program: one window per form, the main window first; the others open beside
// it. Closing the main window ends the program.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "form_view.h"

namespace ks::view {

class View {
 public:
  View(Form& main, const std::vector<Form*>& others);

  FormWindow& main_window() const { return forms_.front()->window(); }
  // The window of a form of this view; null for any other form.
  FormWindow* window(const Form& form) const;
  // Brings every window up to date now.
  void flush();
  // Whether a window still has a change of the model waiting for its batched repaint.
  bool pending() const;

  // The user closes the main window; quits the event loop when unset.
  std::function<void()> on_main_closed;

 private:
  std::vector<std::unique_ptr<FormView>> forms_;
};

}  // namespace ks::view
