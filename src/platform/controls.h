// The control model: plain objects with the properties the program reads and writes.
// The view draws them; every property change notifies the form's observer.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ks {

// Colours in the program's notation: &HBBGGRR (blue in the high byte). Values with the top bit
// set are system colours (&H80000008 is the window-text colour).
using Color = std::uint32_t;
inline constexpr Color kSystemWindowText = 0x80000008u;

class Form;

enum class ControlKind {
  TextBox,
  Label,
  Line,
  PictureBox,
  CommandButton,
  CheckBox,
  OptionButton,
  Frame,
};

class Control {
 public:
  explicit Control(ControlKind kind) : kind_(kind) {}
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  // Registers the control with its form under its program name (and array index, -1 for none).
  void attach(Form& form, std::string name, int index = -1);

  ControlKind kind() const { return kind_; }
  const std::string& name() const { return name_; }
  int index() const { return index_; }
  Form* form() const { return form_; }

  bool visible() const { return visible_; }
  // (Inline: the board hides and shows many controls that already are as asked.)
  void set_visible(bool v) {
    if (visible_ == v) return;
    visible_ = v;
    changed();
  }
  bool enabled() const { return enabled_; }
  void set_enabled(bool v);
  int left() const { return left_; }
  int top() const { return top_; }
  int width() const { return width_; }
  int height() const { return height_; }
  void set_left(int v);
  void set_top(int v);
  void set_width(int v);
  void set_height(int v);
  void move(int left, int top);
  void move(int left, int top, int width, int height);
  Color back_color() const { return back_color_; }
  void set_back_color(Color c);
  Color fore_color() const { return fore_color_; }
  void set_fore_color(Color c);
  const std::string& tool_tip() const { return tool_tip_; }
  void set_tool_tip(std::string t);

  // Gives this control the input focus (the control that had it loses it first).
  void set_focus();
  bool has_focus() const;

  // Click handler, run by the view (and by tests) when the control is clicked.
  std::function<void()> on_click;
  // Lost-focus handler, run when the focus moves from this control to another one.
  std::function<void()> on_lost_focus;
  // The pointer moved over the control.
  std::function<void()> on_mouse_move;
  // A key went down while the control had the focus; the key code is the desktop's virtual key
  // code (37 left, 38 up, 39 right, 40 down, 46 delete, 48..57 the digits).
  std::function<void(int key_code)> on_key_down;

 protected:
  void changed();

 private:
  ControlKind kind_;
  Form* form_ = nullptr;
  std::string name_;
  int index_ = -1;
  bool visible_ = true;
  bool enabled_ = true;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  Color back_color_ = 0xFFFFFF;
  Color fore_color_ = kSystemWindowText;
  std::string tool_tip_;
};

// A text box. Setting the text runs the change handler synchronously, and only when the text
// changed; the handler may write the box again (it is re-entered for that write).
class TextBox : public Control {
 public:
  TextBox() : Control(ControlKind::TextBox) {}
  const std::string& text() const { return text_; }
  void set_text(std::string&& t);
  // (Without a new string: most writes leave the text as it was or fit in its room.)
  void set_text(std::string_view t);
  void set_text(const char* t) { set_text(std::string_view(t)); }
  // Adds s at the end of the text (the same as set_text(text() + s), without the copy).
  void append(std::string_view s);
  // Adds a and then b at the end of the text, as one change.
  void append(std::string_view a, std::string_view b);
  bool locked() const { return locked_; }
  void set_locked(bool v);
  bool multi_line() const { return multi_line_; }
  void set_multi_line(bool v);
  int tab_index() const { return tab_index_; }
  void set_tab_index(int v);

  // The change handler is installed once, by the box's owner; a second install is refused
  // (std::logic_error), so that no one replaces a handler the owner relies on.
  void install_on_change(std::function<void()> handler);

  // The player typed into the box: the view hands over the box's new text. It goes through
  // on_typed when the window filters what is typed into this box, else straight into the box.
  void type(std::string t);
  std::function<void(std::string)> on_typed;

 private:
  std::function<void()> on_change_;
  std::string text_;
  bool locked_ = false;
  bool multi_line_ = false;
  int tab_index_ = 0;
};

class Label : public Control {
 public:
  Label() : Control(ControlKind::Label) {}
  const std::string& caption() const { return caption_; }
  void set_caption(std::string c);

 private:
  std::string caption_;
};

// A straight line from (x1, y1) to (x2, y2) in window pixels.
class Line : public Control {
 public:
  Line() : Control(ControlKind::Line) {}
  int x1() const { return x1_; }
  int y1() const { return y1_; }
  int x2() const { return x2_; }
  int y2() const { return y2_; }
  void set_x1(int v);
  void set_y1(int v);
  void set_x2(int v);
  void set_y2(int v);
  void set_points(int x1, int y1, int x2, int y2);
  int border_width() const { return border_width_; }
  void set_border_width(int w);

 private:
  int x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
  int border_width_ = 1;
};

// A picture. The picture is named by a key that the view turns into an image; two pictures are
// the same picture when their keys are equal.
class PictureBox : public Control {
 public:
  PictureBox() : Control(ControlKind::PictureBox) {}
  const std::string& picture() const { return picture_; }
  void set_picture(std::string key);

 private:
  std::string picture_;
};

class CommandButton : public Control {
 public:
  CommandButton() : Control(ControlKind::CommandButton) {}
  const std::string& caption() const { return caption_; }
  void set_caption(std::string c);
  // A picture button shows the image named by this key (as PictureBox) instead of a caption.
  const std::string& picture() const { return picture_; }
  void set_picture(std::string key);

 private:
  std::string caption_;
  std::string picture_;
};

// A check box; value 0 (clear) or 1 (ticked). As on the desktop, a new value is a click
// whoever sets it: set_value runs the click handler when the value changes, so that what the
// tick stands for follows it also when the program ticks the box.
class CheckBox : public Control {
 public:
  CheckBox() : Control(ControlKind::CheckBox) {}
  const std::string& caption() const { return caption_; }
  void set_caption(std::string c);
  int value() const { return value_; }
  void set_value(int v);

 private:
  std::string caption_;
  int value_ = 0;
};

class OptionButton : public Control {
 public:
  OptionButton() : Control(ControlKind::OptionButton) {}
  const std::string& caption() const { return caption_; }
  void set_caption(std::string c);
  bool value() const { return value_; }
  void set_value(bool v);

 private:
  std::string caption_;
  bool value_ = false;
};

class Frame : public Control {
 public:
  Frame() : Control(ControlKind::Frame) {}
  const std::string& caption() const { return caption_; }
  void set_caption(std::string c);
  // Double-click handler.
  std::function<void()> on_dbl_click;

 private:
  std::string caption_;
};

// A timer: while enabled, the view runs on_timer every interval milliseconds.
class Timer {
 public:
  void attach(Form& form, std::string name);
  const std::string& name() const { return name_; }
  bool enabled() const { return enabled_; }
  void set_enabled(bool v);
  int interval() const { return interval_; }
  void set_interval(int ms);
  std::function<void()> on_timer;

 private:
  Form* form_ = nullptr;
  std::string name_;
  bool enabled_ = false;
  int interval_ = 0;
};

// A menu item (or a top-level menu when it has children). The tick is the item's own state.
class MenuItem {
 public:
  void attach(Form& form, std::string name, MenuItem* parent);
  const std::string& name() const { return name_; }
  const std::string& caption() const { return caption_; }
  void set_caption(std::string c);
  bool checked() const { return checked_; }
  void set_checked(bool v);
  bool enabled() const { return enabled_; }
  void set_enabled(bool v);
  bool visible() const { return visible_; }
  void set_visible(bool v);
  const std::vector<MenuItem*>& children() const { return children_; }
  std::function<void()> on_click;

 private:
  void changed();
  Form* form_ = nullptr;
  std::string name_;
  std::string caption_;
  bool checked_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  std::vector<MenuItem*> children_;
};

enum class ButtonStyle { Button, Separator, Placeholder };

struct ToolbarButton {
  std::string key;
  std::string tool_tip;
  std::string image;
  ButtonStyle style = ButtonStyle::Button;
  bool visible = true;
  bool enabled = true;
};

// A toolbar of keyed buttons, numbered from 1 in toolbar order. A click reports the button's key.
class Toolbar {
 public:
  void attach(Form& form, std::string name);
  const std::string& name() const { return name_; }
  void add(ToolbarButton b);
  int count() const { return static_cast<int>(buttons_.size()); }
  // Button n, counted from 1.
  const ToolbarButton& button(int n) const { return buttons_.at(static_cast<size_t>(n - 1)); }
  void set_visible(int n, bool v);
  void set_enabled(int n, bool v);
  std::function<void(const std::string& key)> on_button_click;

 private:
  void changed();
  Form* form_ = nullptr;
  std::string name_;
  std::vector<ToolbarButton> buttons_;
};

// What the view implements to hear about changes of the model.
class FormObserver {
 public:
  virtual ~FormObserver() = default;
  virtual void control_changed(Control& c) = 0;
  virtual void form_changed(Form& f) = 0;  // form visibility, caption, menus, toolbars, timers
  virtual void focus_changed(Form& f) = 0;
};

// A window: its caption, visibility, size, controls in the order they were attached, menu bar,
// toolbars and timers, and the control that has the focus.
class Form {
 public:
  explicit Form(std::string name) : name_(std::move(name)) {}
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& name() const { return name_; }
  const std::string& caption() const { return caption_; }
  void set_caption(std::string c);
  bool visible() const { return visible_; }
  void Show();
  void Hide();
  int width() const { return width_; }
  int height() const { return height_; }
  void set_size(int w, int h);

  const std::vector<Control*>& controls() const { return controls_; }
  const std::vector<MenuItem*>& menu_bar() const { return menu_bar_; }
  const std::vector<Toolbar*>& toolbars() const { return toolbars_; }
  const std::vector<Timer*>& timers() const { return timers_; }

  Control* focused() const { return focused_; }
  void set_focus(Control* c);

  void set_observer(FormObserver* o) { observer_ = o; }
  FormObserver* observer() const { return observer_; }

  // Called by the controls.
  void add(Control* c) { controls_.push_back(c); }
  void add_menu(MenuItem* m) { menu_bar_.push_back(m); }
  void add_toolbar(Toolbar* t) { toolbars_.push_back(t); }
  void add_timer(Timer* t) { timers_.push_back(t); }
  void notify(Control& c) {
    if (observer_) observer_->control_changed(c);
  }
  void notify_form() {
    if (observer_) observer_->form_changed(*this);
  }

 private:
  std::string name_;
  std::string caption_;
  bool visible_ = false;
  int width_ = 0, height_ = 0;
  std::vector<Control*> controls_;
  std::vector<MenuItem*> menu_bar_;
  std::vector<Toolbar*> toolbars_;
  std::vector<Timer*> timers_;
  Control* focused_ = nullptr;
  FormObserver* observer_ = nullptr;
};

}  // namespace ks
