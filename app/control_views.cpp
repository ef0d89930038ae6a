// The widgets of the controls: text fields, the board's boxes (digit, candidates, cage tags),
// pictures, buttons, check and option buttons, frames. Clicks on text boxes, pictures and frames,
// pointer moves, focus and key codes are forwarded by the canvas; the widgets here handle what
// is particular to their kind (typing, button clicks, painting).
#include "control_views.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>

#include "icons.h"
#include "look.h"
#include "text_log.h"

namespace ks::view {

namespace {

QString qstr(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// A caption as Qt's buttons show it: "&" marks a shortcut there, so a caption's own "&" is
// doubled ("prova & verifica" keeps its ampersand).
QString button_caption(const std::string& s) { return qstr(s).replace(QLatin1Char('&'), QStringLiteral("&&")); }

// The text without its last character (a whole UTF-8 sequence).
std::string without_last_char(std::string s) {
  if (s.empty()) return s;
  size_t n = s.size() - 1;
  while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
  s.erase(n);
  return s;
}

// Gives a widget the program's font, made smaller (down to 9 pixels) until text fits in room
// pixels: a caption keeps within the width the form gives its control.
void fit_font(QWidget& w, const QString& text, int room) {
  QFont f = QApplication::font();
  int px = QFontInfo(f).pixelSize();
  f.setPixelSize(px);
  while (px > 9 && QFontMetrics(f).horizontalAdvance(text) > room) f.setPixelSize(--px);
  if (f != w.font()) w.setFont(f);
}

// The room for the caption of a check or option button beside its indicator.
int caption_room(const QWidget& w, QStyle::PixelMetric indicator, QStyle::PixelMetric spacing) {
  return w.width() - w.style()->pixelMetric(indicator, nullptr, &w) -
         w.style()->pixelMetric(spacing, nullptr, &w) - 2;
}

// A one-line field: an ordinary line edit; what the user types goes to the model at once.
class FieldBox : public QLineEdit, public ControlView {
 public:
  FieldBox(TextBox& box, QWidget* parent) : QLineEdit(parent), ControlView(box) {
    connect(this, &QLineEdit::textEdited, this,
            [this](const QString& s) {
              this->box().type(s.toStdString());
              sync();  // a refused edit shows the box's text again
            });
  }
  QWidget* widget() override { return this; }
  void sync() override {
    setReadOnly(box().locked());
    QPalette pal = palette();
    pal.setColor(QPalette::Base, to_qcolor(box().back_color()));
    pal.setColor(QPalette::Text, to_qcolor(box().fore_color()));
    if (pal != palette()) setPalette(pal);
    const QString t = qstr(box().text());
    if (t != text()) {
      setText(t);
      if (isReadOnly()) setCursorPosition(0);
    }
    // A text longer than the field (a long hint) shows whole as the field's tool-tip.
    if (box().tool_tip().empty()) {
      const bool cut = fontMetrics().horizontalAdvance(t) > contentsRect().width() - 6;
      const QString tip = cut ? t : QString();
      if (toolTip() != tip) setToolTip(tip);
    }
  }

 private:
  TextBox& box() const { return static_cast<TextBox&>(control()); }
};

// A box of the board, painted from the model: a cell's digit, its candidates, or a cage's tag.
// Typing into an unlocked box goes to the model: in a digit box the typed character replaces
// the digit, elsewhere it is added at the end; Backspace takes the last character away and
// Delete empties the box.
class CellBox : public QWidget, public ControlView {
 public:
  CellBox(TextBox& box, BoxStyle style, QWidget* parent)
      : QWidget(parent), ControlView(box), style_(style) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled);
  }
  QWidget* widget() override { return this; }
  void sync() override { update(); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.fillRect(rect(), to_qcolor(box().back_color()));
    const QColor fore = to_qcolor(box().fore_color());
    const QString text = qstr(box().text());
    switch (style_) {
      case BoxStyle::Digit: paint_digit(p, text, fore); break;
      case BoxStyle::Candidates: paint_candidates(p, text, fore); break;
      default: paint_tag(p, text, fore); break;
    }
  }
  void focusInEvent(QFocusEvent* e) override {
    QWidget::focusInEvent(e);
    update();
  }
  void focusOutEvent(QFocusEvent* e) override {
    QWidget::focusOutEvent(e);
    update();
  }
  void keyPressEvent(QKeyEvent* e) override {
    TextBox& b = box();
    if (b.locked() || !b.enabled()) return QWidget::keyPressEvent(e);
    if (e->key() == Qt::Key_Delete || (e->key() == Qt::Key_Backspace && style_ == BoxStyle::Digit)) {
      b.type("");
      return;
    }
    if (e->key() == Qt::Key_Backspace) {
      b.type(without_last_char(b.text()));
      return;
    }
    const QString typed = e->text();
    if (style_ == BoxStyle::Candidates && typed.size() == 1 && typed.at(0) >= QLatin1Char('1') &&
        typed.at(0) <= QLatin1Char('9')) {
      // A digit typed into a candidate box switches that candidate off or on.
      const char d = static_cast<char>(typed.at(0).unicode());
      std::string t = b.text();
      const size_t at = t.find(d);
      if (at == std::string::npos)
        t += d;
      else
        t.erase(at, 1);
      b.type(t);
      return;
    }
    if (!typed.isEmpty() && typed.at(0).isPrint()) {
      b.type(style_ == BoxStyle::Digit ? typed.toStdString() : b.text() + typed.toStdString());
      return;
    }
    QWidget::keyPressEvent(e);
  }

 private:
  TextBox& box() const { return static_cast<TextBox&>(control()); }

  // One large centred digit; a focused cell shows a ring in the highlight colour.
  void paint_digit(QPainter& p, const QString& text, const QColor& fore) {
    if (hasFocus()) {
      p.setRenderHint(QPainter::Antialiasing);
      QColor ring = palette().color(QPalette::Highlight);
      ring.setAlpha(200);
      p.setPen(QPen(ring, 2));
      p.setBrush(Qt::NoBrush);
      p.drawRoundedRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), 3, 3);
    }
    if (text.isEmpty()) return;
    int px = height() * 2 / 3;
    QFont f = ui_font(px, true);
    while (px > 8 && QFontMetrics(f).horizontalAdvance(text) > width() - 4) f.setPixelSize(--px);
    p.setFont(f);
    p.setPen(fore);
    // A cage's sum sits over the top left corner of its first cell: the digit moves away from it
    // by half the corner it covers, so that no stroke of the digit is hidden.
    const QRect corner = covered_corner();
    p.drawText(rect().adjusted(corner.width() / 2, 1 + corner.height() / 2, 0, 1), Qt::AlignCenter,
               text);
  }

  // The part of this box that a cage tag (a sum or cage-number box) covers, in its coordinates.
  QRect covered_corner() const {
    QRect covered;
    if (!parentWidget()) return covered;
    for (QObject* o : parentWidget()->children()) {
      const auto* tag = dynamic_cast<const CellBox*>(o);
      if (!tag || tag == this || tag->style_ != BoxStyle::CageTag || !tag->isVisible()) continue;
      const QRect hit = tag->geometry().intersected(geometry());
      if (!hit.isEmpty()) covered = covered.united(hit.translated(-pos()));
    }
    return covered;
  }

  // The candidates: digit d in column (d - 1) mod 3, row (d - 1) div 3 of a 3 x 3 grid; any
  // other text is written small and centred.
  void paint_candidates(QPainter& p, const QString& text, const QColor& fore) {
    if (text.isEmpty()) return;
    bool digits_only = true;
    for (QChar ch : text) digits_only = digits_only && ch >= QLatin1Char('1') && ch <= QLatin1Char('9');
    const int px = std::max(7, (height() + 2) / 3);
    p.setFont(ui_font(px));
    p.setPen(fore);
    if (!digits_only) {
      p.drawText(rect(), Qt::AlignCenter | Qt::TextWrapAnywhere, text);
      return;
    }
    const double cw = width() / 3.0, ch = (height() - 1) / 3.0;
    for (QChar c : text) {
      const int d = c.unicode() - '1';
      const QRectF r(cw * (d % 3), 1 + ch * (d / 3), cw, ch);
      p.drawText(r, Qt::AlignCenter, QString(c));
    }
  }

  // A cage's sum or number: small bold text at the top left, shrunk to fit the box.
  void paint_tag(QPainter& p, const QString& text, const QColor& fore) {
    int px = std::max(8, height() * 5 / 7);
    QFont f = ui_font(px, true);
    f.setStretch(QFont::SemiCondensed);
    while (px > 6 && QFontMetrics(f).horizontalAdvance(text) > width() - 1) f.setPixelSize(--px);
    p.setFont(f);
    p.setPen(fore);
    const QRect area = rect().adjusted(1, 0, 0, 0);
    p.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, text);
    if (hasFocus() && !box().locked()) {
      const int x = 1 + QFontMetrics(f).horizontalAdvance(text);
      p.setPen(palette().color(QPalette::Highlight));
      p.drawLine(x, 2, x, height() - 3);
    }
  }

  BoxStyle style_;
};

// A picture: the image named by its key, centred at its natural size (shrunk to fit); the back
// colour when it has no picture.
class PictureView : public QWidget, public ControlView {
 public:
  PictureView(PictureBox& pic, QWidget* parent) : QWidget(parent), ControlView(pic) {}
  QWidget* widget() override { return this; }
  void sync() override {
    setCursor(pic().on_click ? Qt::PointingHandCursor : Qt::ArrowCursor);
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const std::string& key = pic().picture();
    QSizeF size = image_size(key);
    if (size.isEmpty()) {
      p.fillRect(rect(), to_qcolor(pic().back_color()));
      return;
    }
    size.scale(QSizeF(size).boundedTo(QSizeF(this->size())), Qt::KeepAspectRatio);
    const QRectF r((width() - size.width()) / 2, (height() - size.height()) / 2, size.width(),
                   size.height());
    draw_image(p, key, r);
  }

 private:
  PictureBox& pic() const { return static_cast<PictureBox&>(control()); }
};

// A command button, flat and filled with its back colour (the colour palette's swatches are
// such buttons), showing its caption or, for a picture button, its image.
class ButtonView : public QPushButton, public ControlView {
 public:
  ButtonView(CommandButton& b, QWidget* parent) : QPushButton(parent), ControlView(b) {
    setAttribute(Qt::WA_Hover);
    connect(this, &QPushButton::clicked, this, [this] {
      if (control().on_click) control().on_click();
    });
  }
  QWidget* widget() override { return this; }
  void sync() override {
    const QString caption = qstr(button().caption());
    if (caption != text()) setText(caption);
    fit_font(*this, caption, width() - 6);
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled()) p.setOpacity(0.45);
    QColor fill = to_qcolor(button().back_color());
    if (isDown()) fill = fill.darker(115);
    const bool hot = hasFocus() || underMouse();
    const QColor border = hot ? palette().color(QPalette::Highlight) : QColor(0x8A, 0x93, 0x9F);
    p.setPen(QPen(border, hot ? 1.5 : 1.0));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75), 3, 3);
    const std::string& picture = button().picture();
    if (!picture.empty()) {
      // A picture button: its image at twice the natural size where there is room.
      QSizeF size = image_size(picture);
      const QSizeF room(width() - 8, height() - 8);
      size.scale(QSizeF(size * 2).boundedTo(room), Qt::KeepAspectRatio);
      draw_image(p, picture, QRectF((width() - size.width()) / 2, (height() - size.height()) / 2,
                                    size.width(), size.height()));
    } else if (!text().isEmpty()) {
      p.setPen(to_qcolor(button().fore_color()));
      p.setFont(font());
      p.drawText(rect(), Qt::AlignCenter, text());
    }
  }

 private:
  CommandButton& button() const { return static_cast<CommandButton&>(control()); }
};

// A check box: a click ticks or clears it in the model, whose new value runs the click handler
// (CheckBox::set_value).
class CheckView : public QCheckBox, public ControlView {
 public:
  CheckView(CheckBox& c, QWidget* parent) : QCheckBox(parent), ControlView(c) {
    connect(this, &QCheckBox::clicked, this, [this](bool on) { check().set_value(on ? 1 : 0); });
  }
  QWidget* widget() override { return this; }
  void sync() override {
    const QSignalBlocker block(this);
    setText(button_caption(check().caption()));
    fit_font(*this, text(), caption_room(*this, QStyle::PM_IndicatorWidth, QStyle::PM_CheckBoxLabelSpacing));
    setTristate(check().value() == 2);
    setCheckState(check().value() == 1 ? Qt::Checked
                  : check().value() == 2 ? Qt::PartiallyChecked
                                         : Qt::Unchecked);
  }

 private:
  CheckBox& check() const { return static_cast<CheckBox&>(control()); }
};

// An option button: a click selects it and clears the other option buttons of its form.
class OptionView : public QRadioButton, public ControlView {
 public:
  OptionView(OptionButton& o, QWidget* parent) : QRadioButton(parent), ControlView(o) {
    setAutoExclusive(false);
    connect(this, &QRadioButton::clicked, this, [this] {
      for (Control* c : control().form()->controls())
        if (c != &control() && c->kind() == ControlKind::OptionButton)
          static_cast<OptionButton*>(c)->set_value(false);
      option().set_value(true);
      if (control().on_click) control().on_click();
    });
  }
  QWidget* widget() override { return this; }
  void sync() override {
    const QSignalBlocker block(this);
    setText(button_caption(option().caption()));
    fit_font(*this, text(),
             caption_room(*this, QStyle::PM_ExclusiveIndicatorWidth, QStyle::PM_RadioButtonLabelSpacing));
    setChecked(option().value());
  }

 private:
  OptionButton& option() const { return static_cast<OptionButton&>(control()); }
};

// A frame: a titled border when it has a caption, otherwise an invisible area (that still hears
// clicks and double clicks).
class FrameView : public QWidget, public ControlView {
 public:
  FrameView(Frame& f, QWidget* parent) : QWidget(parent), ControlView(f) {}
  QWidget* widget() override { return this; }
  void sync() override { update(); }

 protected:
  void paintEvent(QPaintEvent*) override {
    const QString caption = qstr(frame().caption());
    if (caption.isEmpty()) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics fm(font());
    const int top = fm.height() / 2;
    p.setPen(QColor(0xA8, 0xB0, 0xBB));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0.5, top + 0.5, width() - 1, height() - top - 1), 4, 4);
    const QRect label(8, 0, fm.horizontalAdvance(caption) + 6, fm.height());
    p.fillRect(label, palette().color(QPalette::Window));
    p.setPen(to_qcolor(frame().fore_color()));
    p.drawText(label, Qt::AlignCenter, caption);
  }

 private:
  Frame& frame() const { return static_cast<Frame&>(control()); }
};

}  // namespace

ControlView* make_control_view(Control& c, QWidget* parent) {
  ControlView* v = nullptr;
  switch (c.kind()) {
    case ControlKind::TextBox: {
      auto& box = static_cast<TextBox&>(c);
      const BoxStyle style = box_style(box);
      if (style == BoxStyle::Area)
        v = new TextLog(box, parent);
      else if (style == BoxStyle::Field)
        v = new FieldBox(box, parent);
      else
        v = new CellBox(box, style, parent);
      break;
    }
    case ControlKind::PictureBox: v = new PictureView(static_cast<PictureBox&>(c), parent); break;
    case ControlKind::CommandButton: v = new ButtonView(static_cast<CommandButton&>(c), parent); break;
    case ControlKind::CheckBox: v = new CheckView(static_cast<CheckBox&>(c), parent); break;
    case ControlKind::OptionButton: v = new OptionView(static_cast<OptionButton&>(c), parent); break;
    case ControlKind::Frame: v = new FrameView(static_cast<Frame&>(c), parent); break;
    case ControlKind::Label:
    case ControlKind::Line: return nullptr;
  }
  v->widget()->setObjectName(object_name(c));
  return v;
}

}  // namespace ks::view
