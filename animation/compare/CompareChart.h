#pragma once

// One chart of many curves with the groups' mean curves and ± SD bands, drawn with
// QPainter so that the screen, a PNG and an SVG get the same drawing. The drawing is
// kept as an image; hovering or the arrow keys pick out one curve and say its name.

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

#include <vector>

class QPainter;

namespace compare
{
struct PlotLine {
    QString name;
    QColor colour;
    std::vector<double> x, y;
    bool mean = false; // drawn thick, over the trials
};
struct PlotBand {
    QColor colour;
    std::vector<double> x, low, high;
};
struct Plot {
    QString title;
    QString xLabel;
    QString yLabel;
    QString empty; // said in the middle when there is nothing to draw
    std::vector<PlotBand> bands;
    std::vector<PlotLine> lines;
};
} // namespace compare

class CompareChart : public QWidget
{
    Q_OBJECT
public:
    explicit CompareChart(QWidget* parent = nullptr);

    void setPlot(compare::Plot plot);
    const compare::Plot& plot() const { return m_plot; }
    // Paints the chart into `size`, for the screen and for saved pictures.
    void render(QPainter& painter, QSize size) const;

    // The picked-out curve (an index into plot().lines), -1 for none.
    int highlighted() const { return m_highlight; }
    void setHighlighted(int index);
    // The curve drawn nearest to a point of the widget, within a few pixels; -1 for none.
    int lineAt(QPointF point) const;

signals:
    // The picked-out curve's name, or "" when none is.
    void highlightChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    struct Frame {
        QRectF area;
        double xLow = 0, xHigh = 1, yLow = 0, yHigh = 1;
        QPointF at(double x, double y) const;
    };
    Frame frameFor(QSize size) const;
    void paintPlot(QPainter& p, QSize size, int highlight) const;

    compare::Plot m_plot;
    int m_highlight = -1;
    mutable QImage m_cache;
    mutable bool m_cacheValid = false;
};
