// The view of a multi-line text box: incremental appends, lines ended by "\r\n" in the model.
#include "text_log.h"

#include <QScrollBar>
#include <QTextCursor>

#include "look.h"

namespace ks::view {

namespace {
// Model text (lines ended by "\r\n") as the widget's text (lines ended by "\n").
QString plain(std::string_view s) {
  QString q = QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
  q.remove(QLatin1Char('\r'));
  return q;
}
}  // namespace

TextLog::TextLog(TextBox& box, QWidget* parent) : QPlainTextEdit(parent), ControlView(box) {
  setObjectName(object_name(box));
  setFont(ui_font(12));
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setFrameShape(QFrame::NoFrame);
  document()->setDocumentMargin(8);
  connect(this, &QPlainTextEdit::textChanged, this, [this] {
    if (applying_ || isReadOnly()) return;
    // Text typed by the user goes to the model with the model's line ends.
    std::string text = toPlainText().toStdString();
    std::string model;
    model.reserve(text.size() + text.size() / 16);
    for (char ch : text) {
      if (ch == '\n') model += '\r';
      model += ch;
    }
    shown_ = model;
    this->box().set_text(std::move(model));
  });
}

void TextLog::sync() {
  setReadOnly(box().locked());
  QPalette pal = palette();
  pal.setColor(QPalette::Base, to_qcolor(box().back_color()));
  pal.setColor(QPalette::Text, to_qcolor(box().fore_color()));
  if (pal != palette()) setPalette(pal);

  const std::string& text = box().text();
  if (text == shown_) return;
  applying_ = true;
  QScrollBar* bar = verticalScrollBar();
  const bool at_end = bar->value() >= bar->maximum() - 2;
  if (!shown_.empty() && text.size() > shown_.size() &&
      text.compare(0, shown_.size(), shown_) == 0) {
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(plain(std::string_view(text).substr(shown_.size())));
    if (at_end) bar->setValue(bar->maximum());
  } else {
    setPlainText(plain(text));
  }
  shown_ = text;
  applying_ = false;
}

}  // namespace ks::view
