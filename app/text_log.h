// The view of a multi-line text box, such as the activity log: it appends what was added at the
// end instead of setting the whole text again, so a log of hundreds of kilobytes stays cheap.
#pragma once

#include <QPlainTextEdit>
#include <string>

#include "control_views.h"

namespace ks::view {

class TextLog : public QPlainTextEdit, public ControlView {
 public:
  TextLog(TextBox& box, QWidget* parent);
  QWidget* widget() override { return this; }
  void sync() override;

 private:
  TextBox& box() const { return static_cast<TextBox&>(control()); }
  std::string shown_;     // the model text the widget shows
  bool applying_ = false;  // the widget is being set from the model
};

}  // namespace ks::view
