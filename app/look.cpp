// How the windows look: colour conversion, fonts, the application style and the board's styles.
#include "look.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPalette>
#include <QStyleFactory>
#include <QStyle>
#include <QTranslator>

namespace ks::view {

QColor to_qcolor(Color c) {
  if (c & 0x80000000u) {
    // System colours by their index in the desktop's table.
    const QPalette pal = QApplication::palette();
    switch (c & 0xFFu) {
      case 0x05: return pal.color(QPalette::Base);              // window background
      case 0x08: return pal.color(QPalette::WindowText);        // window text
      case 0x0D: return pal.color(QPalette::Highlight);
      case 0x0E: return pal.color(QPalette::HighlightedText);
      case 0x0F: return pal.color(QPalette::Button);            // button face
      case 0x10: return pal.color(QPalette::Dark);              // button shadow
      case 0x11: return pal.color(QPalette::Disabled, QPalette::Text);  // grey text
      case 0x12: return pal.color(QPalette::ButtonText);
      case 0x14: return pal.color(QPalette::Light);
      case 0x17: return pal.color(QPalette::ToolTipText);
      case 0x18: return pal.color(QPalette::ToolTipBase);
      default: return pal.color(QPalette::WindowText);
    }
  }
  return QColor(static_cast<int>(c & 0xFFu), static_cast<int>((c >> 8) & 0xFFu),
                static_cast<int>((c >> 16) & 0xFFu));
}

namespace {
// The board's control arrays of the main window and how their boxes are drawn.
struct NamedStyle {
  const char* name;
  BoxStyle style;
};
constexpr NamedStyle kBoardBoxes[] = {
    {"Text1", BoxStyle::Digit},
    {"Text2", BoxStyle::Candidates},
    {"textsomma", BoxStyle::CageTag},
    {"Textgruppo", BoxStyle::CageTag},
};
}  // namespace

BoxStyle box_style(const TextBox& box) {
  if (box.multi_line()) return BoxStyle::Area;
  if (box.form() && box.form()->name() == "main" && box.index() >= 0) {
    for (const NamedStyle& s : kBoardBoxes)
      if (box.name() == s.name) return s.style;
  }
  return BoxStyle::Field;
}

bool is_pop_up(const Control& c) {
  return c.kind() == ControlKind::PictureBox && c.form() && c.form()->name() == "main" &&
         c.index() >= 0 && c.name() == "Picture1";
}

bool is_cage_border(const Line& line) {
  if (!line.form() || line.form()->name() != "main" || line.index() < 0) return false;
  const std::string& n = line.name();
  return n == "Line1" || n == "Line2" || n == "Line3" || n == "Line4";
}

QString object_name(const Control& c) {
  QString name = QString::fromStdString(c.name());
  if (c.index() >= 0) name += QStringLiteral("(%1)").arg(c.index());
  return name;
}

QFont ui_font(int pixel_size, bool bold) {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(pixel_size);
  f.setBold(bold);
  f.setHintingPreference(QFont::PreferFullHinting);
  return f;
}

void apply_look(QApplication& app) {
  // Qt's own dialogs (message boxes, print and file dialogs) speak Italian like the program.
  static QTranslator qt_italian;
  if (qt_italian.load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"),
                      QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    app.installTranslator(&qt_italian);
  app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPointSize(9);
  app.setFont(f);

  QPalette pal = app.style()->standardPalette();
  const QColor window(0xE9, 0xEC, 0xF0);
  const QColor ink(0x1C, 0x22, 0x2B);
  const QColor faded(0x9A, 0xA1, 0xAB);  // the text of what cannot be used now
  pal.setColor(QPalette::Window, window);
  pal.setColor(QPalette::Button, window.lighter(104));
  pal.setColor(QPalette::Base, Qt::white);
  pal.setColor(QPalette::AlternateBase, QColor(0xF4, 0xF6, 0xF8));
  pal.setColor(QPalette::Highlight, QColor(0x2F, 0x6F, 0xD6));
  pal.setColor(QPalette::HighlightedText, Qt::white);
  // Text colours for the active and inactive groups only: a disabled menu item or button keeps
  // the faded text that tells the player it does nothing now.
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    pal.setColor(group, QPalette::WindowText, ink);
    pal.setColor(group, QPalette::Text, ink);
    pal.setColor(group, QPalette::ButtonText, ink);
  }
  pal.setColor(QPalette::Disabled, QPalette::WindowText, faded);
  pal.setColor(QPalette::Disabled, QPalette::Text, faded);
  pal.setColor(QPalette::Disabled, QPalette::ButtonText, faded);
  pal.setColor(QPalette::Disabled, QPalette::Base, window);
  app.setPalette(pal);
}

}  // namespace ks::view
