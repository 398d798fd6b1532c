#pragma once

// "Save picture as …" for the animation picture and the charts: PNG at twice the
// screen's resolution, or SVG, chosen by the name's extension.

#include <QSize>
#include <QString>

#include <functional>

class PictureBox;
class QPainter;
struct Platform;
struct SharedState;

inline constexpr const char* SavePictureCommand = "Save picture as …";

using PaintFunction = std::function<void(QPainter&, QSize)>;

// Writes the drawing of `paint` at `size` (screen pixels) as PNG (twice the pixels) or,
// for a name ending in ".svg", as SVG. "" or the reason it failed; nothing is left
// under `path` on failure.
QString writePicture(const QString& path, QSize size, const PaintFunction& paint);

// Asks for a name and writes the picture, saying what failed. True when written.
bool savePictureAs(SharedState& state, Platform& platform, const QString& suggestedBase, QSize size,
                   const PaintFunction& paint);

// Draws what the picture box holds again at the painter's scale: lines stay sharp in a
// PNG at twice the pixels and are lines in an SVG.
void paintVectorPicture(QPainter& painter, QSize size, const PictureBox& picture);
