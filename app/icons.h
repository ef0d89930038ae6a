// The program's images, drawn with QPainter and keyed by the names the model uses: the board's
// pictures (digit palette, traffic light, play clock) and the toolbar images.
#pragma once

#include <QIcon>
#include <QRectF>
#include <QSize>
#include <string>

class QPainter;

namespace ks::view {

// The natural size of a key's image; empty when the key names no image.
QSize image_size(const std::string& key);

// Draws the image of a key scaled into rect; false when the key names no image.
bool draw_image(QPainter& p, const std::string& key, const QRectF& rect);

// The 16 x 16 toolbar icon of an image key (a null icon for an unknown key).
QIcon toolbar_icon(const std::string& key);

}  // namespace ks::view
