#pragma once

// A picture box with a user coordinate system over a persistent image: what is drawn
// stays until the picture is cleared, so history drawings build up and a line drawn
// again in the background colour erases it. Lines are drawn without smoothing, so the
// colours are exact and a repeated line covers the same pixels.

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QWidget>

#include <cstddef>
#include <cstdint>
#include <vector>

// Clips the segment a-b to the rectangle r (Liang-Barsky); false when nothing is left,
// or when an end is not a finite point.
bool clipSegment(QPointF& a, QPointF& b, const QRectF& r);

class PictureBox : public QWidget
{
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    struct Primitive {
        enum Kind { Line, Box, FilledBox } kind = Line;
        QPointF from; // user coordinates
        QPointF to;
        QColor colour;
        int width = 1;
        bool operator==(const Primitive&) const = default;
    };

    // Clears to the background colour and forgets what was drawn.
    void cls();
    // Sets the user coordinates of the upper-left and lower-right corners.
    void setScale(QPointF upperLeft, QPointF lowerRight);
    void setDrawWidth(int width);
    void setBackColour(const QColor& colour);
    void line(QPointF from, QPointF to, const QColor& colour);
    void box(QPointF corner1, QPointF corner2, const QColor& colour);
    void filledBox(QPointF corner1, QPointF corner2, const QColor& colour);
    // Shows what was drawn since the last flush; drawing alone only marks it, so a
    // pass repaints at the pace of the screen rather than at every line.
    void flush();

    // The picture as drawn so far, to come back to without drawing it all again.
    struct Snapshot {
        QImage image;
        std::size_t primitives = 0;
        std::uint64_t clearCount = 0;
        QPointF upperLeft;
        QPointF lowerRight;
        int drawWidth = 1;
    };
    Snapshot snapshot() const;
    // Back to a snapshot taken since the last clear at the picture's present size, the
    // drawing after it forgotten; false, and nothing changed, for any other snapshot.
    bool restore(const Snapshot& s);

    // The drawing since the last clear, oldest first (a very long drawing keeps its
    // newest part only).
    const std::vector<Primitive>& primitives() const { return m_primitives; }
    const QImage& image() const;
    QPointF upperLeft() const { return m_upperLeft; }
    QPointF lowerRight() const { return m_lowerRight; }
    int drawWidth() const { return m_drawWidth; }
    // Pixel position of a point in user coordinates.
    QPointF toPixels(QPointF user) const;
    // The colour at a point in user coordinates.
    QColor colourAt(QPointF user) const;

    static constexpr std::size_t RecordLimit = 200000;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void draw(const Primitive& p);
    // Paints into the image; returns the pixels touched.
    QRect paint(const Primitive& p) const;
    void record(const Primitive& p);
    // The image follows the widget's size, also while the window is hidden and gets
    // no resize events; what was drawn is drawn again at the new size.
    void syncImageSize() const;

    mutable QImage m_image;
    QColor m_backColour = Qt::black;
    QPointF m_upperLeft{0, 0};
    QPointF m_lowerRight{1, 1};
    int m_drawWidth = 1;
    std::vector<Primitive> m_primitives;
    bool m_recordComplete = true;
    QRect m_dirty;
    std::uint64_t m_clearCount = 0;
};
