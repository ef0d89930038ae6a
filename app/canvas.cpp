// The client area of a form: painted labels and lines, control widgets, and the input that goes
// back to the model.
#include "canvas.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <algorithm>

#include "look.h"

namespace ks::view {

namespace {

// The desktop's virtual key code of a Qt key; 0 when it has none that the program could use.
int virtual_key(const QKeyEvent& e) {
  const int k = e.key();
  if (k >= Qt::Key_0 && k <= Qt::Key_9)
    return (e.modifiers() & Qt::KeypadModifier) ? 96 + (k - Qt::Key_0) : k;  // numeric keypad
  if (k >= Qt::Key_A && k <= Qt::Key_Z) return k;
  if (k >= Qt::Key_F1 && k <= Qt::Key_F12) return 112 + (k - Qt::Key_F1);
  switch (k) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return 0;
  }
}

QRect line_bounds(const Line& l) {
  const int w = std::max(1, l.border_width()) + 2;
  return QRect(QPoint(std::min(l.x1(), l.x2()), std::min(l.y1(), l.y2())),
               QPoint(std::max(l.x1(), l.x2()), std::max(l.y1(), l.y2())))
      .adjusted(-w, -w, w, w);
}

// A control that covers its whole form at the design size, such as a text window's text, follows
// the window's size.
bool fills_form(const Control& c) {
  const Form* f = c.form();
  return f && c.left() == 0 && c.top() == 0 && c.width() == f->width() && c.height() == f->height();
}

// Kinds whose click the canvas reports; buttons report their own.
bool clicked_by_canvas(ControlKind k) {
  return k == ControlKind::TextBox || k == ControlKind::PictureBox || k == ControlKind::Frame;
}

void paint_label(QPainter& p, const Label& l) {
  const QRect r(l.left(), l.top(), l.width(), l.height());
  p.fillRect(r, to_qcolor(l.back_color()));
  if (l.caption().empty()) return;
  p.setPen(to_qcolor(l.fore_color()));
  p.drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, QString::fromStdString(l.caption()));
}

// A cage border is drawn thin and dashed, with the dashes laid on one grid for the whole window
// so that segments which overlap where two squares are joined show one clean dash pattern.
// Other lines are solid at their width.
void paint_line(QPainter& p, const Line& l) {
  const QColor colour = to_qcolor(l.fore_color());
  if (is_cage_border(l)) {
    QPen pen(colour, 1);
    pen.setCapStyle(Qt::FlatCap);
    constexpr int kDash = 3, kGap = 2;
    pen.setDashPattern({kDash, kGap});
    const bool horizontal = l.y1() == l.y2();
    const int start = horizontal ? std::min(l.x1(), l.x2()) : std::min(l.y1(), l.y2());
    pen.setDashOffset(start % (kDash + kGap));
    p.setPen(pen);
    const QPointF a(std::min(l.x1(), l.x2()) + 0.5, std::min(l.y1(), l.y2()) + 0.5);
    const QPointF b(std::max(l.x1(), l.x2()) + 0.5, std::max(l.y1(), l.y2()) + 0.5);
    p.drawLine(horizontal ? QPointF(a.x() - 0.5, a.y()) : QPointF(a.x(), a.y() - 0.5),
               horizontal ? QPointF(b.x() + 0.5, b.y()) : QPointF(b.x(), b.y() + 0.5));
    return;
  }
  QPen pen(colour, std::max(1, l.border_width()));
  pen.setCapStyle(Qt::SquareCap);
  p.setPen(pen);
  p.drawLine(l.x1(), l.y1(), l.x2(), l.y2());
}

}  // namespace

Canvas::Canvas(Form& form, QWidget* parent) : QWidget(parent), form_(form) {
  setObjectName(QString::fromStdString(form.name()) + QStringLiteral("_canvas"));
  setAutoFillBackground(false);
  setMouseTracking(true);
  adopt_new_controls();
  resize(sizeHint());
  for (Slot& s : slots_) apply(s);
}

void Canvas::adopt_new_controls() {
  const auto& controls = form_.controls();
  for (size_t i = slots_.size(); i < controls.size(); ++i) {
    Control* c = controls[i];
    ControlView* v = make_control_view(*c, this);
    const int n = static_cast<int>(slots_.size());
    slots_.push_back({c, v, QRect()});
    index_.emplace(c, n);
    if (v) {
      QWidget* w = v->widget();
      w->setMouseTracking(true);
      w->installEventFilter(this);
      by_widget_.emplace(w, n);
      w->hide();
    } else {
      painted_.push_back(n);
    }
  }
  // Widgets stack in the order they were made, so a control made later (a hint line, a
  // control adopted now) would cover the palette wherever they meet.
  for (const Slot& s : slots_)
    if (s.view && is_pop_up(*s.control)) s.view->widget()->raise();

  // A form filled by one control (a text window) may be made smaller than its design size;
  // any other needs its design size, grown to hold every control where the model puts it.
  QRect room(0, 0, form_.width(), form_.height());
  filled_ = false;
  for (const Slot& s : slots_) {
    const Control& c = *s.control;
    filled_ = filled_ || fills_form(c);
    room |= c.kind() == ControlKind::Line ? line_bounds(static_cast<const Line&>(c))
                                          : QRect(c.left(), c.top(), c.width(), c.height());
  }
  layout_size_ = QSize(room.right() + 1, room.bottom() + 1);
  setMinimumSize(filled_ ? QSize(160, 120) : layout_size_);
}

ControlView* Canvas::view(const Control& c) const {
  const auto it = index_.find(&c);
  return it == index_.end() ? nullptr : slots_[static_cast<size_t>(it->second)].view;
}

void Canvas::mark(Control& c) {
  auto it = index_.find(&c);
  if (it == index_.end()) {
    adopt_new_controls();
    it = index_.find(&c);
    if (it == index_.end()) return;
  }
  Slot& s = slots_[static_cast<size_t>(it->second)];
  if (s.dirty) return;
  s.dirty = true;
  dirty_.push_back(it->second);
}

void Canvas::apply_changes() {
  std::vector<int> todo;
  todo.swap(dirty_);
  syncing_ = true;
  for (int i : todo) {
    Slot& s = slots_[static_cast<size_t>(i)];
    s.dirty = false;
    apply(s);
  }
  syncing_ = false;
}

void Canvas::apply_focus() {
  Control* c = form_.focused();
  // No control has the focus (a new puzzle opens no cell for typing): the keys go to the canvas
  // itself, and no box keeps a focus ring.
  if (!c) {
    const QWidget* had = window()->focusWidget();
    if (had && had != this && isAncestorOf(had)) {
      syncing_ = true;
      setFocus(Qt::OtherFocusReason);
      syncing_ = false;
    }
    return;
  }
  ControlView* v = view(*c);
  if (!v) return;
  // The control that takes the focus may have just been shown: its own change goes first; the
  // rest waits for the next batch.
  if (const auto it = index_.find(c); it != index_.end()) {
    Slot& s = slots_[static_cast<size_t>(it->second)];
    if (s.dirty) {
      syncing_ = true;
      apply(s);
      syncing_ = false;
    }
  }
  QWidget* w = v->widget();
  if (w->hasFocus() || !w->isVisibleTo(this) || !w->isEnabled()) return;
  syncing_ = true;
  w->setFocus(Qt::OtherFocusReason);
  syncing_ = false;
}

QRect Canvas::placement(const Control& c) const {
  if (fills_form(c)) return rect();
  return QRect(c.left(), c.top(), c.width(), c.height());
}

void Canvas::apply(Slot& s) {
  const Control& c = *s.control;
  if (!s.view) {
    if (!s.painted.isEmpty()) update(s.painted);
    s.painted = QRect();
    if (c.visible()) {
      s.painted = c.kind() == ControlKind::Line ? line_bounds(static_cast<const Line&>(c))
                                                : QRect(c.left(), c.top(), c.width(), c.height());
      update(s.painted);
    }
    return;
  }
  QWidget* w = s.view->widget();
  w->setGeometry(placement(c));
  w->setEnabled(c.enabled());
  const QString tip = QString::fromStdString(c.tool_tip());
  if (w->toolTip() != tip) w->setToolTip(tip);
  s.view->sync();
  w->setVisible(c.visible());
}

void Canvas::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  for (Slot& s : slots_)
    if (s.view) s.view->widget()->setGeometry(placement(*s.control));
}

void Canvas::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.fillRect(event->rect(), palette().color(QPalette::Window));
  p.setRenderHint(QPainter::TextAntialiasing);
  // Squares first, lines over them.
  for (int pass = 0; pass < 2; ++pass) {
    for (int i : painted_) {
      const Slot& s = slots_[static_cast<size_t>(i)];
      if (s.painted.isEmpty() || !s.painted.intersects(event->rect())) continue;
      if (pass == 0 && s.control->kind() == ControlKind::Label)
        paint_label(p, static_cast<const Label&>(*s.control));
      else if (pass == 1 && s.control->kind() == ControlKind::Line)
        paint_line(p, static_cast<const Line&>(*s.control));
    }
  }
}

Control* Canvas::label_at(QPoint pos) const {
  for (auto it = painted_.rbegin(); it != painted_.rend(); ++it) {
    const Slot& s = slots_[static_cast<size_t>(*it)];
    if (s.control->kind() == ControlKind::Label && !s.painted.isEmpty() && s.painted.contains(pos))
      return s.control;
  }
  return nullptr;
}

void Canvas::mouseMoveEvent(QMouseEvent* event) {
  if (Control* c = label_at(event->position().toPoint()); c && c->on_mouse_move) c->on_mouse_move();
  QWidget::mouseMoveEvent(event);
}

void Canvas::mousePressEvent(QMouseEvent* event) {
  pressed_label_ = event->button() == Qt::LeftButton ? label_at(event->position().toPoint()) : nullptr;
  QWidget::mousePressEvent(event);
}

void Canvas::mouseReleaseEvent(QMouseEvent* event) {
  const Control* pressed = pressed_label_;
  pressed_label_ = nullptr;
  if (event->button() == Qt::LeftButton && pressed && label_at(event->position().toPoint()) == pressed &&
      pressed->on_click)
    pressed->on_click();
  QWidget::mouseReleaseEvent(event);
}

void Canvas::forward_focus(Control& c, Qt::FocusReason reason) {
  if (syncing_) return;
  // A click that also brings the window back to the front (after a message box, say) gives the
  // focus with the window's activation as its reason: it is the player's focus all the same.
  const bool by_user = reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason ||
                       reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason ||
                       reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
  if (by_user && form_.focused() != &c) form_.set_focus(&c);
}

bool Canvas::eventFilter(QObject* watched, QEvent* event) {
  const auto it = by_widget_.find(watched);
  if (it == by_widget_.end()) return QWidget::eventFilter(watched, event);
  Control& c = *slots_[static_cast<size_t>(it->second)].control;
  switch (event->type()) {
    case QEvent::MouseMove:
      if (c.on_mouse_move) c.on_mouse_move();
      break;
    case QEvent::MouseButtonPress:
      if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) pressed_ = watched;
      break;
    case QEvent::MouseButtonDblClick:
      if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) break;
      if (c.kind() == ControlKind::Frame) {
        if (auto& f = static_cast<Frame&>(c); f.on_dbl_click) f.on_dbl_click();
      } else {
        pressed_ = watched;  // a quick second click is a click too
      }
      break;
    case QEvent::MouseButtonRelease: {
      auto* me = static_cast<QMouseEvent*>(event);
      const bool was_pressed = pressed_ == watched;
      if (me->button() == Qt::LeftButton) pressed_ = nullptr;
      if (me->button() == Qt::LeftButton && was_pressed && clicked_by_canvas(c.kind()) &&
          static_cast<QWidget*>(watched)->rect().contains(me->position().toPoint()) && c.on_click)
        c.on_click();
      break;
    }
    case QEvent::FocusIn:
      forward_focus(c, static_cast<QFocusEvent*>(event)->reason());
      break;
    case QEvent::KeyPress:
      if (const int vk = virtual_key(*static_cast<QKeyEvent*>(event)); vk && c.on_key_down)
        c.on_key_down(vk);
      break;
    default:
      break;
  }
  return false;
}

}  // namespace ks::view
