#include "animation/compare/CompareChart.h"

#include "animation/graphs/GraphData.h"

#include <QFocusEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <algorithm>
#include <cmath>

using namespace compare;

namespace
{
constexpr double LeftMargin = 70;
constexpr double RightMargin = 16;
constexpr double TopMargin = 28;
constexpr double BottomMargin = 46;
constexpr double PickPixels = 6; // how near the pointer must come to a curve
const QColor GridColour(225, 225, 225);

QString tickText(double v, double step)
{
    const int decimals = step >= 1 ? 0 : std::min(6, int(std::ceil(-std::log10(step) - 1e-9)));
    return QString::number(v, 'f', decimals);
}

double stepOf(const std::vector<double>& t)
{
    return t.size() >= 2 ? t[1] - t[0] : 1.0;
}
} // namespace

CompareChart::CompareChart(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(360, 240);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CompareChart::setPlot(Plot plot)
{
    const QString before = m_highlight >= 0 && m_highlight < int(m_plot.lines.size())
                               ? m_plot.lines[std::size_t(m_highlight)].name
                               : QString();
    m_plot = std::move(plot);
    // The same curve stays picked out when the chart is drawn again.
    m_highlight = -1;
    for (int i = 0; i < int(m_plot.lines.size()) && !before.isEmpty(); ++i)
        if (m_plot.lines[std::size_t(i)].name == before)
            m_highlight = i;
    m_cacheValid = false;
    update();
    if (!before.isEmpty() && m_highlight < 0)
        emit highlightChanged(QString());
}

QPointF CompareChart::Frame::at(double x, double y) const
{
    return {area.left() + (x - xLow) / (xHigh - xLow) * area.width(),
            area.bottom() - (y - yLow) / (yHigh - yLow) * area.height()};
}

CompareChart::Frame CompareChart::frameFor(QSize size) const
{
    Frame f;
    f.area = QRectF(LeftMargin, TopMargin, std::max(10.0, size.width() - LeftMargin - RightMargin),
                    std::max(10.0, size.height() - TopMargin - BottomMargin));
    double xl = INFINITY, xh = -INFINITY, yl = INFINITY, yh = -INFINITY;
    const auto take = [&](const std::vector<double>& xs, const std::vector<double>& ys) {
        const std::size_t n = std::min(xs.size(), ys.size());
        for (std::size_t i = 0; i < n; ++i) {
            if (!std::isfinite(xs[i]) || !std::isfinite(ys[i]))
                continue;
            xl = std::min(xl, xs[i]);
            xh = std::max(xh, xs[i]);
            yl = std::min(yl, ys[i]);
            yh = std::max(yh, ys[i]);
        }
    };
    for (const PlotLine& l : m_plot.lines)
        take(l.x, l.y);
    for (const PlotBand& b : m_plot.bands) {
        take(b.x, b.low);
        take(b.x, b.high);
    }
    if (!(xl < xh) && !std::isfinite(xl) && m_plot.xLabel.contains(u'%')) {
        // Nothing drawn yet on the normalised axis: show the whole contact.
        xl = 0;
        xh = 100;
    } else if (!(xl < xh)) {
        xl = std::isfinite(xl) ? xl - 1 : 0;
        xh = xl + 2;
    }
    if (!(yl <= yh)) {
        yl = 0;
        yh = 1;
    }
    double pad = 0.05 * (yh - yl);
    if (!(pad > 0))
        pad = std::max(std::abs(yh) * 0.1, 1.0);
    f.xLow = xl;
    f.xHigh = xh;
    f.yLow = yl - pad;
    f.yHigh = yh + pad;
    return f;
}

void CompareChart::render(QPainter& painter, QSize size) const
{
    paintPlot(painter, size, -1);
}

void CompareChart::paintPlot(QPainter& p, QSize size, int highlight) const
{
    p.save();
    p.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QFontMetricsF fm(p.font());
    p.setPen(Qt::black);
    p.drawText(QRectF(0, 4, size.width(), fm.height()), Qt::AlignHCenter | Qt::AlignTop,
               m_plot.title);
    const Frame f = frameFor(size);
    const QRectF& area = f.area;

    const std::vector<double> xt =
        graphs::ticks(f.xLow, f.xHigh, std::max(2, int(area.width() / 80)));
    const std::vector<double> yt =
        graphs::ticks(f.yLow, f.yHigh, std::max(3, int(area.height() / 34)));
    for (double x : xt) {
        const double px = f.at(x, f.yLow).x();
        p.setPen(QPen(GridColour, 1));
        p.drawLine(QPointF(px, area.top()), QPointF(px, area.bottom()));
        p.setPen(Qt::black);
        const QString text = tickText(x, stepOf(xt));
        p.drawText(QPointF(px - fm.horizontalAdvance(text) / 2, area.bottom() + 4 + fm.ascent()),
                   text);
    }
    for (double y : yt) {
        const double py = f.at(f.xLow, y).y();
        p.setPen(QPen(GridColour, 1));
        p.drawLine(QPointF(area.left(), py), QPointF(area.right(), py));
        p.setPen(Qt::black);
        p.drawText(QRectF(20, py - fm.height() / 2, LeftMargin - 26, fm.height()),
                   Qt::AlignRight | Qt::AlignVCenter, tickText(y, stepOf(yt)));
    }
    p.setPen(Qt::black);
    p.drawText(QRectF(area.left(), area.bottom() + 6 + fm.height(), area.width(), fm.height()),
               Qt::AlignHCenter | Qt::AlignTop, m_plot.xLabel);
    p.save();
    p.translate(10, area.center().y());
    p.rotate(-90);
    p.drawText(QRectF(-area.height() / 2, -4, area.height(), fm.height()), Qt::AlignCenter,
               m_plot.yLabel);
    p.restore();

    p.save();
    p.setClipRect(area.adjusted(-1, -1, 1, 1));
    for (const PlotBand& b : m_plot.bands) {
        const std::size_t n = std::min({b.x.size(), b.low.size(), b.high.size()});
        if (n < 2)
            continue;
        QPolygonF band;
        for (std::size_t i = 0; i < n; ++i)
            band << f.at(b.x[i], b.high[i]);
        for (std::size_t i = n; i-- > 0;)
            band << f.at(b.x[i], b.low[i]);
        QColor fill = b.colour;
        fill.setAlpha(60);
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawPolygon(band);
    }
    p.setBrush(Qt::NoBrush);
    const auto drawLine = [&](const PlotLine& l, double width, QColor colour) {
        const std::size_t n = std::min(l.x.size(), l.y.size());
        QPolygonF line;
        line.reserve(qsizetype(n));
        for (std::size_t i = 0; i < n; ++i)
            if (std::isfinite(l.y[i]))
                line << f.at(l.x[i], l.y[i]);
        p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(line);
    };
    // Trials first, then the means over them, then the picked-out curve over everything.
    for (const bool means : {false, true})
        for (const PlotLine& l : m_plot.lines)
            if (l.mean == means)
                drawLine(l, means ? 2.5 : 1.0, l.colour);
    if (highlight >= 0 && highlight < int(m_plot.lines.size()))
        drawLine(m_plot.lines[std::size_t(highlight)], 3.0, Qt::black);
    p.restore();

    // The legend of the groups' means, in the upper right corner.
    double top = area.top() + 6;
    for (const PlotLine& l : m_plot.lines) {
        if (!l.mean)
            continue;
        const double w = fm.horizontalAdvance(l.name) + 36;
        const QRectF box(area.right() - w - 6, top, w, fm.height() + 4);
        p.fillRect(box, QColor(255, 255, 255, 220));
        QColor fill = l.colour;
        fill.setAlpha(60);
        p.fillRect(QRectF(box.left() + 4, box.top() + 3, 22, box.height() - 6), fill);
        p.setPen(QPen(l.colour, 2.5));
        p.drawLine(QPointF(box.left() + 4, box.center().y()),
                   QPointF(box.left() + 26, box.center().y()));
        p.setPen(Qt::black);
        p.drawText(box.adjusted(30, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, l.name);
        top += box.height() + 2;
    }
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(area);
    if (m_plot.lines.empty() && !m_plot.empty.isEmpty())
        p.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, m_plot.empty);
    p.restore();
}

void CompareChart::paintEvent(QPaintEvent*)
{
    const qreal ratio = devicePixelRatioF();
    if (!m_cacheValid || m_cache.size() != size() * ratio) {
        m_cache = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
        m_cache.setDevicePixelRatio(ratio);
        QPainter cp(&m_cache);
        paintPlot(cp, size(), -1);
        m_cacheValid = true;
    }
    QPainter p(this);
    p.drawImage(0, 0, m_cache);
    if (m_highlight >= 0 && m_highlight < int(m_plot.lines.size())) {
        const Frame f = frameFor(size());
        const PlotLine& l = m_plot.lines[std::size_t(m_highlight)];
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setClipRect(f.area);
        QPolygonF line;
        for (std::size_t i = 0; i < std::min(l.x.size(), l.y.size()); ++i)
            if (std::isfinite(l.y[i]))
                line << f.at(l.x[i], l.y[i]);
        p.setPen(QPen(Qt::black, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(line);
        p.setClipping(false);
        const QString label = l.name;
        const QFontMetricsF fm(font());
        const QRectF box(f.area.left() + 6, f.area.top() + 4, fm.horizontalAdvance(label) + 10,
                         fm.height() + 4);
        p.fillRect(box, QColor(255, 255, 255, 230));
        p.setPen(Qt::black);
        p.drawText(box, Qt::AlignCenter, label);
    }
    if (hasFocus()) {
        p.setPen(QPen(palette().highlight().color(), 1, Qt::DotLine));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void CompareChart::resizeEvent(QResizeEvent*)
{
    m_cacheValid = false;
}

int CompareChart::lineAt(QPointF point) const
{
    const Frame f = frameFor(size());
    if (!f.area.adjusted(-PickPixels, -PickPixels, PickPixels, PickPixels).contains(point))
        return -1;
    int best = -1;
    double bestDistance = PickPixels;
    for (int k = 0; k < int(m_plot.lines.size()); ++k) {
        const PlotLine& l = m_plot.lines[std::size_t(k)];
        const std::size_t n = std::min(l.x.size(), l.y.size());
        for (std::size_t i = 0; i + 1 < n; ++i) {
            const QPointF a = f.at(l.x[i], l.y[i]);
            const QPointF b = f.at(l.x[i + 1], l.y[i + 1]);
            if (std::max(a.x(), b.x()) < point.x() - PickPixels ||
                std::min(a.x(), b.x()) > point.x() + PickPixels)
                continue;
            // Distance from the point to the segment.
            const QPointF d = b - a;
            const double len2 = d.x() * d.x() + d.y() * d.y();
            double t = len2 > 0 ? QPointF::dotProduct(point - a, d) / len2 : 0;
            t = std::clamp(t, 0.0, 1.0);
            const QPointF nearest = a + t * d;
            const double dist = std::hypot(point.x() - nearest.x(), point.y() - nearest.y());
            if (dist < bestDistance) {
                bestDistance = dist;
                best = k;
            }
        }
    }
    return best;
}

void CompareChart::setHighlighted(int index)
{
    if (index < -1 || index >= int(m_plot.lines.size()))
        index = -1;
    if (index == m_highlight)
        return;
    m_highlight = index;
    update();
    emit highlightChanged(index < 0 ? QString() : m_plot.lines[std::size_t(index)].name);
}

void CompareChart::mouseMoveEvent(QMouseEvent* event)
{
    const int k = lineAt(event->position());
    setHighlighted(k);
    if (k >= 0)
        QToolTip::showText(event->globalPosition().toPoint(), m_plot.lines[std::size_t(k)].name,
                           this);
    else
        QToolTip::hideText();
}

void CompareChart::leaveEvent(QEvent*)
{
    if (!hasFocus())
        setHighlighted(-1);
}

void CompareChart::keyPressEvent(QKeyEvent* event)
{
    const int n = int(m_plot.lines.size());
    if (n == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Down:
    case Qt::Key_Right:
        setHighlighted(m_highlight < 0 ? 0 : (m_highlight + 1) % n);
        break;
    case Qt::Key_Up:
    case Qt::Key_Left:
        setHighlighted(m_highlight <= 0 ? n - 1 : m_highlight - 1);
        break;
    case Qt::Key_Home:
        setHighlighted(0);
        break;
    case Qt::Key_End:
        setHighlighted(n - 1);
        break;
    case Qt::Key_Escape:
        if (m_highlight < 0) {
            QWidget::keyPressEvent(event);
            return;
        }
        setHighlighted(-1);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CompareChart::focusInEvent(QFocusEvent* event)
{
    update();
    QWidget::focusInEvent(event);
}

void CompareChart::focusOutEvent(QFocusEvent* event)
{
    update();
    QWidget::focusOutEvent(event);
}
