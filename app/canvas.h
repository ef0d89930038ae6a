// The client area of a form: paints the model's labels and lines itself, holds a widget for
// every other control at the control's geometry, and passes the user's clicks, pointer moves,
// focus and keys to the model.
#pragma once

#include <QWidget>
#include <unordered_map>
#include <vector>

#include "control_views.h"

namespace ks::view {

class Canvas : public QWidget {
 public:
  explicit Canvas(Form& form, QWidget* parent = nullptr);

  Form& form() const { return form_; }
  // The widget of a control; null for the controls painted by the canvas.
  ControlView* view(const Control& c) const;

  // Records that a control changed. Cheap: the core may change a control many thousands of
  // times between two repaints.
  void mark(Control& c);
  // Brings every recorded control up to date on the screen.
  void apply_changes();
  // Gives the Qt focus to the control that has the focus in the model.
  void apply_focus();

  // Whether the controls stand at fixed places, so that the form has one right size: every form
  // but a text window, whose text fills it at any size.
  bool fixed_layout() const { return !filled_; }
  // The design size, or for a fixed layout the size that holds every control at its place.
  QSize sizeHint() const override { return filled_ ? QSize(form_.width(), form_.height()) : layout_size_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  struct Slot {
    Control* control;
    ControlView* view;  // null for a painted control
    QRect painted;      // where a painted control was last drawn (empty when hidden)
    bool dirty = false;
  };
  void adopt_new_controls();
  void apply(Slot& s);
  QRect placement(const Control& c) const;
  Control* label_at(QPoint pos) const;
  void forward_focus(Control& c, Qt::FocusReason reason);

  Form& form_;
  std::vector<Slot> slots_;
  std::unordered_map<const Control*, int> index_;
  std::unordered_map<const QObject*, int> by_widget_;
  std::vector<int> dirty_;
  std::vector<int> painted_;       // slots of labels and lines, in model order
  QObject* pressed_ = nullptr;     // the widget (or canvas label) a left press went down on
  const Control* pressed_label_ = nullptr;
  bool syncing_ = false;           // focus moves made by the view itself are not reported
  bool filled_ = false;            // one control fills the form
  QSize layout_size_;              // the room every control needs, from the top left corner
};

}  // namespace ks::view
