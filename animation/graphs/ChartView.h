#pragma once

// Three charts stacked on one time axis, drawn with QPainter: the same drawing goes to
// the screen, to a PNG at any scale and to an SVG file. The finished charts are kept
// as an image, so moving the cursor repaints two thin strips over it.

#include "animation/graphs/GraphData.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <optional>

class QPainter;

class ChartView : public QWidget
{
    Q_OBJECT
public:
    explicit ChartView(QWidget* parent = nullptr);

    void setCharts(std::array<graphs::Chart, 3> charts, graphs::TimeAxis axis, int recordCount);
    // Contact marks on the force chart (its edges, the peak, and the first peak where that
    // is not the peak), and the threshold line at `threshold` in the chart's units.
    void setContacts(std::vector<graphs::Contact> contacts, double threshold);
    // A header line drawn above the charts in saved pictures.
    void setHeader(const QString& header) { m_header = header; }

    int cursorRecord() const { return m_cursor; }
    // Moves the cursor without telling anyone (the animation moved it).
    void setCursorRecord(int record);
    graphs::Range range() const { return m_range; }
    void setRange(graphs::Range range);
    void showEverything();
    int recordCount() const { return m_recordCount; }
    const std::array<graphs::Chart, 3>& charts() const { return m_charts; }

    // What a screen reader says for the chart: the readout of the cursor's record.
    void setSpokenValue(const QString& text);
    QString spokenValue() const { return m_spoken; }

    // Where the last painting put each contact's peak mark and its "peak" label.
    struct PeakMark {
        QPointF at;
        QRectF label;
    };
    const std::vector<PeakMark>& peakMarks() const { return m_peakMarks; }

    // Paints the charts into `size`; `saved` adds the header and leaves out the band.
    void render(QPainter& painter, QSize size, bool saved) const;

    // Where record `index` stands across the widget, and the record at an x position.
    double xOfRecord(double index) const;
    double recordAtX(double x) const;
    // The plot area of chart k (0 forces, 1 centre, 2 moment) in widget pixels.
    QRectF plotArea(int k) const;

signals:
    // The user moved the cursor (click, drag or key).
    void cursorMoved(int record);
    void rangeChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class Drag { None, Cursor, Band, Pan };
    struct Layout {
        QRectF plots[3];
        double headerHeight = 0;
    };
    Layout layoutFor(QSize size, bool withHeader) const;
    void paintChart(QPainter& p, int k, const QRectF& area, bool last) const;
    void paintCurves(QPainter& p, const std::vector<graphs::Curve>& curves, bool faint,
                     const QRectF& area, double low, double high) const;
    void paintMarks(QPainter& p, const QRectF& area, double low, double high) const;
    void paintCursor(QPainter& p, const Layout& layout) const;
    QRect cursorStrip(int record) const;
    void moveCursorTo(int record, bool tell);
    void invalidate();
    // Record `index` across a plot area; the records stand a little in from its sides.
    double xIn(const QRectF& area, double index) const;

    std::array<graphs::Chart, 3> m_charts;
    graphs::TimeAxis m_axis;
    int m_recordCount = 0;
    std::vector<graphs::Contact> m_contacts;
    std::optional<double> m_threshold;
    QString m_header;
    QString m_spoken;
    mutable std::vector<PeakMark> m_peakMarks;
    graphs::Range m_range;
    int m_cursor = 1;

    mutable QImage m_cache;
    mutable bool m_cacheValid = false;

    Drag m_drag = Drag::None;
    QPointF m_pressAt;
    double m_bandEnd = 0;
    graphs::Range m_rangeAtPress;
};
