// How the windows look: the model's colours as Qt colours, the fonts, the application style, and
// how the board's control arrays are drawn.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include "platform/controls.h"

class QApplication;

namespace ks::view {

// A model colour (&HBBGGRR, or a system colour when the top bit is set) as a Qt colour.
QColor to_qcolor(Color c);

// How a text box is drawn.
enum class BoxStyle {
  Field,       // an ordinary one-line field
  Area,        // a multi-line text
  Digit,       // a cell's digit box: one large centred digit
  Candidates,  // a cell's candidate box: the digits small, in a 3 x 3 arrangement keyed by digit
  CageTag,     // the tiny sum and cage-number boxes at a cage's corner
};
BoxStyle box_style(const TextBox& box);

// The digit palette opens over the board and over whatever stands beside its cell (the hint
// line above row 1): its pictures are stacked above every other control.
bool is_pop_up(const Control& c);

// Cage border segments are drawn thin and dashed; every other line solid at its width.
bool is_cage_border(const Line& line);

// The Qt object name of a control: its name, with the index in brackets for an array member.
QString object_name(const Control& c);

// The font of the program at a pixel size.
QFont ui_font(int pixel_size, bool bold = false);

// Fusion style, the program's font and palette.
void apply_look(QApplication& app);

}  // namespace ks::view
