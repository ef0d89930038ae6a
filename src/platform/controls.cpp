// The control model: property setters that notify the form's observer.
#include "platform/controls.h"

#include <stdexcept>
#include <utility>

namespace ks {

// Assigns a property and notifies only when the value changed. changed() is the class's own: a
// control tells the form of itself, a menu item or a toolbar tells the form as a whole.
#define KS_SET(field, v)  \
  do {                    \
    if ((field) == (v)) return; \
    (field) = (v);        \
    changed();            \
  } while (0)

void Control::attach(Form& form, std::string name, int index) {
  form_ = &form;
  name_ = std::move(name);
  index_ = index;
  form.add(this);
}

void Control::changed() {
  if (form_) form_->notify(*this);
}

void Control::set_enabled(bool v) { KS_SET(enabled_, v); }
void Control::set_left(int v) { KS_SET(left_, v); }
void Control::set_top(int v) { KS_SET(top_, v); }
void Control::set_width(int v) { KS_SET(width_, v); }
void Control::set_height(int v) { KS_SET(height_, v); }
void Control::set_back_color(Color c) { KS_SET(back_color_, c); }
void Control::set_fore_color(Color c) { KS_SET(fore_color_, c); }
void Control::set_tool_tip(std::string t) { KS_SET(tool_tip_, t); }

void Control::move(int left, int top) {
  if (left_ == left && top_ == top) return;
  left_ = left;
  top_ = top;
  changed();
}

void Control::move(int left, int top, int width, int height) {
  if (left_ == left && top_ == top && width_ == width && height_ == height) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  changed();
}

void Control::set_focus() {
  if (form_) form_->set_focus(this);
}

bool Control::has_focus() const { return form_ && form_->focused() == this; }

void TextBox::set_text(std::string&& t) {
  if (t == text_) return;
  text_ = std::move(t);
  changed();
  if (on_change_) on_change_();
}

void TextBox::set_text(std::string_view t) {
  // Most texts written are a few characters long: compared and, at the same length, copied in
  // place, character by character (a view of the box's own text at its length is the text).
  const size_t n = t.size();
  if (n == text_.size() && n <= 16) {
    char* own = text_.data();
    size_t k = 0;
    while (k < n && own[k] == t[k]) ++k;
    if (k == n) return;
    for (; k < n; ++k) own[k] = t[k];
  } else {
    if (t == text_) return;
    text_.assign(t);
  }
  changed();
  if (on_change_) on_change_();
}

void TextBox::append(std::string_view s) {
  if (s.empty()) return;
  text_ += s;
  changed();
  if (on_change_) on_change_();
}

void TextBox::append(std::string_view a, std::string_view b) {
  if (a.empty() && b.empty()) return;
  text_.append(a).append(b);
  changed();
  if (on_change_) on_change_();
}

void TextBox::install_on_change(std::function<void()> handler) {
  if (on_change_) throw std::logic_error("text box " + name() + ": its change handler is installed already");
  on_change_ = std::move(handler);
}

void TextBox::type(std::string t) {
  if (on_typed)
    on_typed(std::move(t));
  else
    set_text(std::move(t));
}

void TextBox::set_locked(bool v) { KS_SET(locked_, v); }
void TextBox::set_multi_line(bool v) { KS_SET(multi_line_, v); }
void TextBox::set_tab_index(int v) { KS_SET(tab_index_, v); }

void Label::set_caption(std::string c) { KS_SET(caption_, c); }

void Line::set_x1(int v) { KS_SET(x1_, v); }
void Line::set_y1(int v) { KS_SET(y1_, v); }
void Line::set_x2(int v) { KS_SET(x2_, v); }
void Line::set_y2(int v) { KS_SET(y2_, v); }
void Line::set_border_width(int w) { KS_SET(border_width_, w); }
void Line::set_points(int x1, int y1, int x2, int y2) {
  if (x1_ == x1 && y1_ == y1 && x2_ == x2 && y2_ == y2) return;
  x1_ = x1;
  y1_ = y1;
  x2_ = x2;
  y2_ = y2;
  changed();
}

void PictureBox::set_picture(std::string key) { KS_SET(picture_, key); }
void CommandButton::set_caption(std::string c) { KS_SET(caption_, c); }
void CommandButton::set_picture(std::string key) { KS_SET(picture_, key); }
void CheckBox::set_caption(std::string c) { KS_SET(caption_, c); }
void CheckBox::set_value(int v) {
  if (value_ == v) return;
  value_ = v;
  changed();
  if (on_click) on_click();
}
void OptionButton::set_caption(std::string c) { KS_SET(caption_, c); }
void OptionButton::set_value(bool v) { KS_SET(value_, v); }
void Frame::set_caption(std::string c) { KS_SET(caption_, c); }

void Timer::attach(Form& form, std::string name) {
  form_ = &form;
  name_ = std::move(name);
  form.add_timer(this);
}
void Timer::set_enabled(bool v) {
  if (enabled_ == v) return;
  enabled_ = v;
  if (form_) form_->notify_form();
}
void Timer::set_interval(int ms) {
  if (interval_ == ms) return;
  interval_ = ms;
  if (form_) form_->notify_form();
}

void MenuItem::attach(Form& form, std::string name, MenuItem* parent) {
  form_ = &form;
  name_ = std::move(name);
  if (parent)
    parent->children_.push_back(this);
  else
    form.add_menu(this);
}
void MenuItem::changed() {
  if (form_) form_->notify_form();
}
void MenuItem::set_caption(std::string c) { KS_SET(caption_, c); }
void MenuItem::set_checked(bool v) { KS_SET(checked_, v); }
void MenuItem::set_enabled(bool v) { KS_SET(enabled_, v); }
void MenuItem::set_visible(bool v) { KS_SET(visible_, v); }

void Toolbar::attach(Form& form, std::string name) {
  form_ = &form;
  name_ = std::move(name);
  form.add_toolbar(this);
}
void Toolbar::changed() {
  if (form_) form_->notify_form();
}
void Toolbar::add(ToolbarButton b) {
  buttons_.push_back(std::move(b));
  changed();
}
void Toolbar::set_visible(int n, bool v) { KS_SET(buttons_.at(static_cast<size_t>(n - 1)).visible, v); }
void Toolbar::set_enabled(int n, bool v) { KS_SET(buttons_.at(static_cast<size_t>(n - 1)).enabled, v); }

#undef KS_SET

void Form::set_caption(std::string c) {
  if (caption_ == c) return;
  caption_ = std::move(c);
  notify_form();
}

void Form::Show() {
  if (visible_) return;
  visible_ = true;
  notify_form();
}

void Form::Hide() {
  if (!visible_) return;
  visible_ = false;
  notify_form();
}

void Form::set_size(int w, int h) {
  if (width_ == w && height_ == h) return;
  width_ = w;
  height_ = h;
  notify_form();
}

void Form::set_focus(Control* c) {
  if (focused_ == c) return;
  Control* previous = focused_;
  focused_ = c;
  if (observer_) observer_->focus_changed(*this);
  // The control that loses the focus hears it before anything else the new focus brings.
  if (previous && previous->on_lost_focus) previous->on_lost_focus();
}

}  // namespace ks
