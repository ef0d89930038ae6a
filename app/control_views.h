// The widgets that show a form's controls: one kind of widget per kind of control, each
// brought up to date from the model by sync().
#pragma once

#include "platform/controls.h"

class QWidget;

namespace ks::view {

// A widget that shows one control of the model.
class ControlView {
 public:
  explicit ControlView(Control& c) : control_(c) {}
  virtual ~ControlView() = default;
  ControlView(const ControlView&) = delete;
  ControlView& operator=(const ControlView&) = delete;

  Control& control() const { return control_; }
  virtual QWidget* widget() = 0;
  // Shows the control's content as the model has it now. Geometry, visibility, the enabled flag
  // and the tool-tip are set by the canvas for every kind alike.
  virtual void sync() = 0;

 private:
  Control& control_;
};

// A new view of c as a child of parent; null for the kinds the canvas paints itself (labels and
// lines).
ControlView* make_control_view(Control& c, QWidget* parent);

}  // namespace ks::view
