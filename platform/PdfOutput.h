#pragma once

// A window's image as a PDF file, written so that a failure is never taken for a
// finished file.

#include <QImage>
#include <QPageLayout>
#include <QString>

class QIODevice;
class QPainter;

// Draws `image` as large as the painter's page allows, keeping its proportions.
void drawImageOnPage(QPainter& painter, const QImage& image);

// Writes `image` as a one-page PDF of `layout` into `path`, which must not exist yet.
// Returns "" when every byte reached the disk, else the reason; a failed write leaves
// no file behind.
QString writeImagePdf(const QImage& image, const QPageLayout& layout, const QString& path);
