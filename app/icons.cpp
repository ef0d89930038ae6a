// The program's images, each drawn in its own natural coordinates (16 x 16 for the toolbars,
// 20 x 20 for the digit palette, 24 x 24 for the play clock, 32 x 32 for the traffic light).
#include "icons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>
#include <cmath>
#include <map>

#include "look.h"

namespace ks::view {

namespace {

const QColor kInk(0x2B, 0x34, 0x40);
const QColor kBlue(0x2F, 0x6F, 0xD6);
const QColor kBlueDark(0x1D, 0x3F, 0x8F);
const QColor kGreen(0x2E, 0x9E, 0x44);
const QColor kRed(0xD2, 0x3B, 0x2F);
const QColor kYellow(0xF4, 0xC5, 0x42);

QPen pen(const QColor& c, double w = 1.0) {
  QPen p(c, w);
  p.setJoinStyle(Qt::RoundJoin);
  p.setCapStyle(Qt::RoundCap);
  return p;
}

// An arc of a circle with an arrowhead at its end; angles in degrees, counter-clockwise from
// three o'clock as Qt counts them.
void arrow_arc(QPainter& p, QPointF c, double r, double start, double span, const QColor& col,
               double width) {
  p.setPen(pen(col, width));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), static_cast<int>(start * 16),
            static_cast<int>(span * 16));
  const double a = (start + span) * M_PI / 180.0;
  const QPointF end(c.x() + r * std::cos(a), c.y() - r * std::sin(a));
  const double sign = span >= 0 ? 1.0 : -1.0;
  const QPointF dir(-std::sin(a) * sign, -std::cos(a) * sign);  // direction of travel
  const QPointF nrm(-dir.y(), dir.x());
  const double h = width * 1.9;
  p.setPen(Qt::NoPen);
  p.setBrush(col);
  p.drawPolygon(QPolygonF{end + dir * h, end + nrm * h - dir * (h * 0.35),
                          end - nrm * h - dir * (h * 0.35)});
}

// ---- toolbar images, 16 x 16 ----------------------------------------------------------------

void draw_pencil(QPainter& p) {
  p.translate(8, 8);
  p.rotate(-45);
  p.setPen(pen(QColor(0x7A, 0x5C, 0x12)));
  p.setBrush(kYellow);
  p.drawRect(QRectF(-5, -2.3, 8, 4.6));
  p.setBrush(QColor(0xE9, 0x8A, 0x9A));
  p.drawRect(QRectF(-8, -2.3, 3, 4.6));
  p.setBrush(QColor(0xF1, 0xD9, 0xB5));
  p.drawPolygon(QPolygonF{{3, -2.3}, {7.5, 0}, {3, 2.3}});
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  p.drawPolygon(QPolygonF{{6, -0.8}, {7.6, 0}, {6, 0.8}});
}

void draw_activity(QPainter& p) {
  p.setPen(pen(kInk));
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(2.5, 1.5, 11, 13), 1.5, 1.5);
  p.setPen(pen(kBlue, 1.2));
  for (double y : {4.5, 7.0, 9.5, 12.0}) p.drawLine(QPointF(5, y), QPointF(y < 11 ? 11 : 8.5, y));
}

void draw_tip(QPainter& p) {
  QRadialGradient g(QPointF(7, 5), 6);
  g.setColorAt(0, QColor(0xFF, 0xF6, 0xC8));
  g.setColorAt(1, kYellow);
  p.setPen(pen(QColor(0x9A, 0x74, 0x10)));
  p.setBrush(g);
  QPainterPath bulb;
  bulb.moveTo(6, 11);
  bulb.cubicTo(6, 9, 3, 8.5, 3, 6);
  bulb.arcTo(QRectF(3, 1, 10, 10), 180, -180);
  bulb.cubicTo(13, 8.5, 10, 9, 10, 11);
  bulb.closeSubpath();
  p.drawPath(bulb);
  p.setPen(pen(QColor(0x6A, 0x74, 0x84)));
  p.setBrush(QColor(0xB8, 0xC0, 0xCC));
  p.drawRoundedRect(QRectF(6, 11, 4, 3.5), 1, 1);
}

void draw_numero(QPainter& p) {
  p.setPen(pen(kBlue));
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 2, 2);
  p.setPen(kBlueDark);
  p.setFont(ui_font(12, true));
  p.drawText(QRectF(1.5, 1.5, 13, 13), Qt::AlignCenter, QStringLiteral("?"));
}

// Box-line interaction: a box whose middle row holds the digit, the row going on beyond it.
void draw_obbligate(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xC9, 0xDA, 0xF6));
  p.drawRect(QRectF(10.5, 6, 5, 4));
  p.setBrush(kBlue);
  p.drawRect(QRectF(1.5, 5.5, 9, 5));
  p.setPen(pen(kInk));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(1.5, 1.5, 9, 13));
  p.setPen(pen(kInk, 0.6));
  for (double x : {4.5, 7.5}) p.drawLine(QPointF(x, 1.5), QPointF(x, 14.5));
  for (double y : {5.5, 10.5}) p.drawLine(QPointF(1.5, y), QPointF(10.5, y));
}

void draw_somme(QPainter& p) {
  p.setPen(pen(kInk, 1.8));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF{{12.5, 4}, {12.5, 2.5}, {3.5, 2.5}, {8.5, 8}, {3.5, 13.5}, {12.5, 13.5},
                           {12.5, 12}});
}

void draw_naked(QPainter& p) {
  for (double x : {1.5, 8.5}) {
    p.setPen(pen(kInk));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(x, 4.5, 6, 7));
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(x + 1.9, 6.8), 1.1, 1.1);
    p.drawEllipse(QPointF(x + 4.1, 9.2), 1.1, 1.1);
  }
}

void draw_chain(QPainter& p) {
  p.setBrush(Qt::NoBrush);
  p.setPen(pen(QColor(0x5B, 0x6B, 0x80), 1.8));
  p.drawRoundedRect(QRectF(1.5, 5, 8, 6), 3, 3);
  p.setPen(pen(kBlue, 1.8));
  p.drawRoundedRect(QRectF(6.5, 5, 8, 6), 3, 3);
}

void draw_gruppi(QPainter& p) {
  QPen dash = pen(kInk, 1.2);
  dash.setCapStyle(Qt::FlatCap);
  dash.setDashPattern({2.0, 1.5});
  p.setPen(dash);
  p.setBrush(QColor(0xE3, 0xEC, 0xFA));
  p.drawPolygon(QPolygonF{{2.5, 2.5}, {9.5, 2.5}, {9.5, 8.5}, {13.5, 8.5}, {13.5, 13.5}, {2.5, 13.5}});
  p.setPen(Qt::NoPen);
  p.setBrush(kBlue);
  p.drawRect(QRectF(3.5, 3.5, 3.5, 3));
}

void draw_impossibili(QPainter& p) {
  p.setPen(pen(kInk));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(2.5, 2.5, 11, 11));
  p.setPen(pen(kRed, 2));
  p.drawLine(QPointF(5.5, 5.5), QPointF(10.5, 10.5));
  p.drawLine(QPointF(10.5, 5.5), QPointF(5.5, 10.5));
}

void draw_open(QPainter& p) {
  p.setPen(pen(QColor(0x9A, 0x74, 0x20)));
  p.setBrush(QColor(0xE8, 0xB8, 0x4A));
  p.drawPolygon(QPolygonF{{1.5, 3}, {6, 3}, {7.5, 4.5}, {13.5, 4.5}, {13.5, 13.5}, {1.5, 13.5}});
  p.setBrush(QColor(0xF8, 0xD7, 0x80));
  p.drawPolygon(QPolygonF{{1.5, 13.5}, {3.8, 7.5}, {15.5, 7.5}, {13.5, 13.5}});
}

void draw_new(QPainter& p) {
  p.setPen(pen(kInk));
  p.setBrush(Qt::white);
  p.drawPolygon(QPolygonF{{2.5, 1.5}, {9, 1.5}, {12.5, 5}, {12.5, 14.5}, {2.5, 14.5}});
  p.setBrush(QColor(0xDD, 0xE3, 0xEA));
  p.drawPolygon(QPolygonF{{9, 1.5}, {9, 5}, {12.5, 5}});
  p.setPen(Qt::NoPen);
  p.setBrush(kGreen);
  p.drawEllipse(QPointF(11.5, 11.5), 4, 4);
  p.setPen(pen(Qt::white, 1.5));
  p.drawLine(QPointF(11.5, 9.3), QPointF(11.5, 13.7));
  p.drawLine(QPointF(9.3, 11.5), QPointF(13.7, 11.5));
}

void draw_libreria(QPainter& p) {
  p.setPen(pen(kInk, 0.8));
  p.setBrush(kBlue);
  p.drawRect(QRectF(1.5, 3.5, 3, 10));
  p.setBrush(kRed);
  p.drawRect(QRectF(5, 2, 3.5, 11.5));
  p.setBrush(kGreen);
  p.save();
  p.translate(10, 13.5);
  p.rotate(-18);
  p.drawRect(QRectF(0, -10, 3, 10));
  p.restore();
  p.setPen(pen(kInk, 1.4));
  p.drawLine(QPointF(0.8, 14.2), QPointF(15.2, 14.2));
}

void draw_save(QPainter& p) {
  p.setPen(pen(QColor(0x23, 0x3F, 0x78)));
  p.setBrush(QColor(0x3B, 0x6F, 0xC4));
  p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xD8, 0xDE, 0xE6));
  p.drawRect(QRectF(4.5, 2, 6.5, 4.5));
  p.setBrush(QColor(0x23, 0x3F, 0x78));
  p.drawRect(QRectF(8.5, 2.8, 1.5, 2.8));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4, 8.5, 8, 5.5));
}

void draw_print(QPainter& p) {
  p.setPen(pen(kInk));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4.5, 1.5, 7, 5));
  p.setBrush(QColor(0xB9, 0xC2, 0xCE));
  p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1.5, 1.5);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4.5, 10.5, 7, 4));
  p.setPen(Qt::NoPen);
  p.setBrush(kGreen);
  p.drawEllipse(QPointF(12.3, 8.6), 0.9, 0.9);
}

void draw_risolvi(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(kGreen);
  p.drawEllipse(QRectF(1, 1, 14, 14));
  p.setPen(pen(Qt::white, 2));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF{{4.5, 8.2}, {7, 10.8}, {11.5, 5.2}});
}

void draw_undo(QPainter& p) { arrow_arc(p, QPointF(8, 8.5), 5, -60, 250, kBlue, 1.8); }

void draw_calcola(QPainter& p) {
  p.setPen(pen(kInk));
  p.setBrush(QColor(0x5B, 0x6B, 0x80));
  p.drawRoundedRect(QRectF(2.5, 1.5, 11, 13), 1.5, 1.5);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xCF, 0xE8, 0xCF));
  p.drawRect(QRectF(4, 3, 8, 3));
  p.setBrush(Qt::white);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) p.drawRect(QRectF(4 + c * 2.9, 7.3 + r * 2.3, 2, 1.6));
}

void draw_genera(QPainter& p) {
  p.setPen(pen(kInk));
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 3, 3);
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  for (QPointF c : {QPointF(5, 5), QPointF(11, 5), QPointF(8, 8), QPointF(5, 11), QPointF(11, 11)})
    p.drawEllipse(c, 1.3, 1.3);
}

void sparkle(QPainter& p, QPointF c, double r, const QColor& col) {
  p.setPen(Qt::NoPen);
  p.setBrush(col);
  p.drawPolygon(QPolygonF{c + QPointF(0, -r), c + QPointF(r * 0.3, -r * 0.3), c + QPointF(r, 0),
                          c + QPointF(r * 0.3, r * 0.3), c + QPointF(0, r),
                          c + QPointF(-r * 0.3, r * 0.3), c + QPointF(-r, 0),
                          c + QPointF(-r * 0.3, -r * 0.3)});
}

void draw_magic(QPainter& p) {
  p.setPen(pen(kInk, 2.4));
  p.drawLine(QPointF(2.5, 13.5), QPointF(10, 6));
  p.setPen(pen(Qt::white, 1.2));
  p.drawLine(QPointF(8.6, 7.4), QPointF(10, 6));
  sparkle(p, QPointF(12, 4), 3.5, QColor(0xE8, 0xA8, 0x10));
  sparkle(p, QPointF(6, 3), 1.8, kYellow);
  sparkle(p, QPointF(13.5, 10), 1.8, kYellow);
}

// ---- board pictures -------------------------------------------------------------------------

// A palette tile, 20 x 20.
void tile(QPainter& p, const QColor& top, const QColor& bottom, const QColor& border) {
  QLinearGradient g(0, 0, 0, 20);
  g.setColorAt(0, top);
  g.setColorAt(1, bottom);
  p.setPen(pen(border));
  p.setBrush(g);
  p.drawRoundedRect(QRectF(0.5, 0.5, 19, 19), 4, 4);
}

void draw_digit(QPainter& p, int d) {
  tile(p, Qt::white, QColor(0xD9, 0xE6, 0xFA), QColor(0x4D, 0x79, 0xC7));
  p.setPen(kBlueDark);
  p.setFont(ui_font(14, true));
  p.drawText(QRectF(0, 0.5, 20, 20), Qt::AlignCenter, QString::number(d));
}

void draw_cancella(QPainter& p) {
  tile(p, Qt::white, QColor(0xFA, 0xDF, 0xDB), QColor(0xC8, 0x49, 0x3C));
  p.setPen(pen(kRed, 2.2));
  p.drawLine(QPointF(6.5, 6.5), QPointF(13.5, 13.5));
  p.drawLine(QPointF(13.5, 6.5), QPointF(6.5, 13.5));
}

// A lit traffic-light lamp, 32 x 32.
void lamp(QPainter& p, const QColor& light, const QColor& base, const QColor& dark) {
  QLinearGradient housing(0, 0, 0, 32);
  housing.setColorAt(0, QColor(0x55, 0x5B, 0x64));
  housing.setColorAt(1, QColor(0x22, 0x26, 0x2B));
  p.setPen(Qt::NoPen);
  p.setBrush(housing);
  p.drawEllipse(QRectF(1, 1, 30, 30));
  QRadialGradient g(QPointF(13, 12), 13, QPointF(12, 11));
  g.setColorAt(0, light);
  g.setColorAt(0.55, base);
  g.setColorAt(1, dark);
  p.setBrush(g);
  p.drawEllipse(QRectF(5, 5, 22, 22));
  p.setBrush(QColor(255, 255, 255, 110));
  p.drawEllipse(QRectF(10, 7.5, 9, 5.5));
}

void draw_semaforo_verde(QPainter& p) {
  lamp(p, QColor(0xD2, 0xFF, 0xC4), QColor(0x34, 0xC0, 0x4A), QColor(0x12, 0x66, 0x22));
}
void draw_semaforo_rosso(QPainter& p) {
  lamp(p, QColor(0xFF, 0xD0, 0xC8), QColor(0xE8, 0x38, 0x2B), QColor(0x86, 0x17, 0x10));
}

// A stopwatch, 24 x 24, in the colour of its state, with the action its click starts.
void stopwatch(QPainter& p, const QColor& col, bool running) {
  p.setPen(Qt::NoPen);
  p.setBrush(col);
  p.drawRoundedRect(QRectF(9.5, 1, 5, 3), 1, 1);
  p.drawRect(QRectF(11, 3.5, 2, 2));
  p.setPen(pen(col, 2.2));
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(12, 14), 8.5, 8.5);
  p.setPen(Qt::NoPen);
  p.setBrush(col);
  if (running) {
    p.drawRoundedRect(QRectF(8.6, 10, 2.6, 8), 0.8, 0.8);
    p.drawRoundedRect(QRectF(12.8, 10, 2.6, 8), 0.8, 0.8);
  } else {
    p.drawPolygon(QPolygonF{{9.8, 9.5}, {9.8, 18.5}, {17, 14}});
  }
}

void draw_orologio_verde(QPainter& p) { stopwatch(p, kGreen, false); }
void draw_orologio_rosso(QPainter& p) { stopwatch(p, kRed, true); }
void draw_reset(QPainter& p) { arrow_arc(p, QPointF(12, 12.5), 7, 100, 280, kInk, 2.2); }

// ---- the level chooser's buttons, 16 x 16 ------------------------------------------------------

// A triangle pointing left (dir -1) or right (dir 1) with its tip at x, and optionally a bar.
void step_arrow(QPainter& p, double tip, int dir, bool bar) {
  p.setPen(pen(kBlueDark, 0.8));
  p.setBrush(kBlue);
  p.drawPolygon(QPolygonF{{tip, 8}, {tip - dir * 7.0, 2.5}, {tip - dir * 7.0, 13.5}});
  if (bar) p.drawRect(QRectF(dir < 0 ? tip - 3.5 : tip + 0.5, 2.5, 2.5, 11));
}

void draw_primo(QPainter& p) { step_arrow(p, 5.5, -1, true); }
void draw_precedente(QPainter& p) { step_arrow(p, 4.5, -1, false); }
void draw_successivo(QPainter& p) { step_arrow(p, 11.5, 1, false); }
void draw_ultimo(QPainter& p) { step_arrow(p, 10.5, 1, true); }

// A small board with an arrow going into it.
void draw_carica(QPainter& p) {
  p.setPen(pen(kInk, 0.8));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4.5, 5.5, 10, 10));
  p.setPen(pen(QColor(0x8A, 0x93, 0x9F), 0.6));
  for (double t : {7.83, 11.17}) {
    p.drawLine(QPointF(t, 5.5), QPointF(t, 15.5));
    p.drawLine(QPointF(4.5, t + 1), QPointF(14.5, t + 1));
  }
  p.setPen(pen(kGreen, 2.0));
  p.drawLine(QPointF(1.5, 1.5), QPointF(7.5, 7.5));
  p.setPen(Qt::NoPen);
  p.setBrush(kGreen);
  p.drawPolygon(QPolygonF{{9.5, 9.5}, {3.8, 8.3}, {8.3, 3.8}});
}

struct Image {
  int size;
  void (*draw)(QPainter&);
};

const std::map<std::string, Image>& images() {
  static const std::map<std::string, Image> table = {
      {"pencil", {16, draw_pencil}},
      {"activity", {16, draw_activity}},
      {"tip", {16, draw_tip}},
      {"numero", {16, draw_numero}},
      {"obbligate", {16, draw_obbligate}},
      {"somme", {16, draw_somme}},
      {"naked", {16, draw_naked}},
      {"chain", {16, draw_chain}},
      {"gruppi", {16, draw_gruppi}},
      {"impossibili", {16, draw_impossibili}},
      {"open", {16, draw_open}},
      {"new", {16, draw_new}},
      {"libreria", {16, draw_libreria}},
      {"save", {16, draw_save}},
      {"print", {16, draw_print}},
      {"risolvi", {16, draw_risolvi}},
      {"undo", {16, draw_undo}},
      {"calcola", {16, draw_calcola}},
      {"genera", {16, draw_genera}},
      {"magic", {16, draw_magic}},
      {"cancella", {20, draw_cancella}},
      {"semaforo_verde", {32, draw_semaforo_verde}},
      {"semaforo_rosso", {32, draw_semaforo_rosso}},
      {"orologio_verde", {24, draw_orologio_verde}},
      {"orologio_rosso", {24, draw_orologio_rosso}},
      {"reset", {24, draw_reset}},
      {"carica", {16, draw_carica}},
      {"primo", {16, draw_primo}},
      {"precedente", {16, draw_precedente}},
      {"successivo", {16, draw_successivo}},
      {"ultimo", {16, draw_ultimo}},
  };
  return table;
}

// The digit of "cifra1".."cifra9", 0 for any other key.
int palette_digit(const std::string& key) {
  if (key.size() == 6 && key.compare(0, 5, "cifra") == 0 && key[5] >= '1' && key[5] <= '9')
    return key[5] - '0';
  return 0;
}

}  // namespace

QSize image_size(const std::string& key) {
  if (palette_digit(key)) return {20, 20};
  const auto it = images().find(key);
  if (it == images().end()) return {};
  return {it->second.size, it->second.size};
}

bool draw_image(QPainter& p, const std::string& key, const QRectF& rect) {
  const int digit = palette_digit(key);
  const auto it = images().find(key);
  if (!digit && it == images().end()) return false;
  const double size = digit ? 20.0 : it->second.size;
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.translate(rect.topLeft());
  p.scale(rect.width() / size, rect.height() / size);
  if (digit)
    draw_digit(p, digit);
  else
    it->second.draw(p);
  p.restore();
  return true;
}

QIcon toolbar_icon(const std::string& key) {
  static std::map<std::string, QIcon> cache;
  if (const auto it = cache.find(key); it != cache.end()) return it->second;
  QIcon icon;
  if (!image_size(key).isEmpty()) {
    for (int scale : {1, 2}) {
      QPixmap pm(16 * scale, 16 * scale);
      pm.fill(Qt::transparent);
      QPainter p(&pm);
      draw_image(p, key, QRectF(0, 0, 16 * scale, 16 * scale));
      p.end();
      pm.setDevicePixelRatio(scale);
      icon.addPixmap(pm);
    }
  }
  cache.emplace(key, icon);
  return icon;
}

}  // namespace ks::view
