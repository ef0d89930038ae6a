// The small windows of the program: the activity log, the cage information window (also the
// generator's log) and the activity form that is never shown.
#pragma once

#include "platform/controls.h"

namespace ks {

// The activity log: every explanation line of the techniques is appended to Text3.
class Frmlog {
 public:
  Frmlog();
  Form form{"Frmlog"};
  TextBox Text3;
  void Show() { form.Show(); }
  void Hide() { form.Hide(); }
  bool visible() const { return form.visible(); }
};

// The cage information window ("somme"): one cage with its sums, or the generator's log.
class Frmgeneratore {
 public:
  Frmgeneratore();
  Form form{"frmgeneratore"};
  TextBox Text1;
  // The cage shown last; -1 while no cage has been shown.
  int last_shown = -1;
  void Show() { form.Show(); }
  void Hide() { form.Hide(); }
  bool visible() const { return form.visible(); }
};

// A form that receives no text and is never shown.
class Frmactivity {
 public:
  Form form{"frmactivity"};
};

}  // namespace ks
