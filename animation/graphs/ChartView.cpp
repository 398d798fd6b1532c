#include "animation/graphs/ChartView.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

using namespace graphs;

namespace
{
constexpr double LeftMargin = 72;
constexpr double RightMargin = 14;
constexpr double TopMargin = 22; // room for the first chart's legend
constexpr double HeaderHeight = 22;
constexpr double BottomMargin = 40;
constexpr double Gap = 24;       // each chart's legend stands above it
constexpr double CursorGrip = 5; // pixels either side of the cursor that grab it
constexpr double ClickSlack = 4; // a press that moves less is a click
constexpr double InnerPad = 6;   // record 1 and its cursor stand clear of the left axis
const QColor CursorColour(68, 68, 68);
const QColor GridColour(225, 225, 225);
const QColor MarkColour(120, 120, 120);

QString tickText(double v, double step)
{
    // As many decimals as the step needs, and no more.
    const int decimals = step >= 1 ? 0 : std::clamp(int(std::ceil(-std::log10(step) - 1e-9)), 0, 6);
    if (std::abs(v) >= 1e6 || (std::abs(v) < 1e-4 && v != 0))
        return QString::number(v, 'g', 3);
    return QString::number(v, 'f', decimals);
}

double stepOf(const std::vector<double>& t)
{
    return t.size() > 1 ? t[1] - t[0] : 1.0;
}

// The chart as a screen reader sees it: its value is the readout of the cursor's
// record, so every move is spoken.
class ChartAccessible : public QAccessibleWidget
{
public:
    explicit ChartAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Chart) {}
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return static_cast<const ChartView*>(widget())->spokenValue();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* chartAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String("ChartView") && object && object->isWidgetType())
        return new ChartAccessible(static_cast<QWidget*>(object));
    return nullptr;
}
} // namespace

ChartView::ChartView(QWidget* parent) : QWidget(parent)
{
    static const bool installed = (QAccessible::installFactory(chartAccessible), true);
    Q_UNUSED(installed);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
    setMinimumSize(320, 300);
}

void ChartView::setCharts(std::array<Chart, 3> charts, TimeAxis axis, int recordCount)
{
    const bool sameCount = recordCount == m_recordCount;
    m_charts = std::move(charts);
    m_axis = std::move(axis);
    m_recordCount = std::max(0, recordCount);
    if (!sameCount) {
        m_range = fullRange(m_recordCount);
        m_cursor = m_recordCount > 0 ? 1 : 0;
    }
    m_cursor = std::clamp(m_cursor, std::min(1, m_recordCount), m_recordCount);
    invalidate();
}

void ChartView::setContacts(std::vector<Contact> contacts, double threshold)
{
    m_contacts = std::move(contacts);
    m_threshold = threshold;
    invalidate();
}

void ChartView::setSpokenValue(const QString& text)
{
    if (text == m_spoken)
        return;
    m_spoken = text;
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, text);
        QAccessible::updateAccessibility(&event);
    }
}

double ChartView::xIn(const QRectF& a, double index) const
{
    const double width = std::max(1.0, a.width() - 2 * InnerPad);
    return a.left() + InnerPad + (index - m_range.first) / m_range.span() * width;
}

void ChartView::setCursorRecord(int record)
{
    moveCursorTo(record, false);
}

void ChartView::setRange(Range range)
{
    const Range r = band(range.first, range.last, m_recordCount);
    if (r == m_range)
        return;
    m_range = r;
    invalidate();
    emit rangeChanged();
}

void ChartView::showEverything()
{
    setRange(fullRange(m_recordCount));
}

void ChartView::invalidate()
{
    m_cacheValid = false;
    update();
}

ChartView::Layout ChartView::layoutFor(QSize size, bool withHeader) const
{
    Layout l;
    l.headerHeight = withHeader ? HeaderHeight : 0;
    const double top = TopMargin + l.headerHeight;
    const double height = std::max(30.0, size.height() - top - BottomMargin - 2 * Gap);
    const double each = height / 3;
    const double width = std::max(20.0, size.width() - LeftMargin - RightMargin);
    for (int k = 0; k < 3; ++k)
        l.plots[k] = QRectF(LeftMargin, top + k * (each + Gap), width, each);
    return l;
}

QRectF ChartView::plotArea(int k) const
{
    return layoutFor(size(), false).plots[std::clamp(k, 0, 2)];
}

double ChartView::xOfRecord(double index) const
{
    return xIn(plotArea(0), index);
}

double ChartView::recordAtX(double x) const
{
    const QRectF a = plotArea(0);
    const double width = std::max(1.0, a.width() - 2 * InnerPad);
    return m_range.first + (x - a.left() - InnerPad) / width * m_range.span();
}

void ChartView::render(QPainter& p, QSize size, bool saved) const
{
    p.save();
    p.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    p.setRenderHint(QPainter::Antialiasing, true);
    const Layout l = layoutFor(size, saved);
    if (saved && !m_header.isEmpty()) {
        QFont bold = p.font();
        bold.setBold(true);
        p.setFont(bold);
        p.setPen(Qt::black);
        p.drawText(QRectF(LeftMargin, 2, size.width() - LeftMargin - RightMargin, HeaderHeight),
                   Qt::AlignLeft | Qt::AlignVCenter, m_header);
        p.setFont(font());
    }
    for (int k = 0; k < 3; ++k)
        paintChart(p, k, l.plots[k], k == 2);
    if (saved)
        paintCursor(p, l);
    p.restore();
}

void ChartView::paintChart(QPainter& p, int k, const QRectF& area, bool last) const
{
    const Chart& chart = m_charts[std::size_t(k)];
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);

    // Time grid and ticks: every chart has the grid, the last one the labels.
    const double t0 = m_axis.at(m_range.first);
    const double t1 = m_axis.at(m_range.last);
    const std::vector<double> timeTicks = ticks(t0, t1, std::max(2, int(area.width() / 90)));
    const QFontMetricsF fm(p.font());
    for (double t : timeTicks) {
        const double x = xIn(area, m_range.first + (t - t0) / (t1 - t0) * m_range.span());
        p.setPen(QPen(GridColour, 1));
        p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        if (last) {
            p.setPen(Qt::black);
            p.drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() + 4));
            const QString text = tickText(t, stepOf(timeTicks));
            const double w = fm.horizontalAdvance(text);
            p.drawText(QPointF(x - w / 2, area.bottom() + 5 + fm.ascent()), text);
        }
    }
    if (last) {
        p.setPen(Qt::black);
        p.drawText(QRectF(area.left(), area.bottom() + 6 + fm.height(), area.width(), fm.height()),
                   Qt::AlignHCenter | Qt::AlignTop, m_axis.label);
    }

    // The vertical axis's label, turned to run up the left edge.
    p.save();
    p.translate(12, area.center().y());
    p.rotate(-90);
    p.setPen(Qt::black);
    p.drawText(QRectF(-area.height() / 2, -10, area.height(), fm.height()), Qt::AlignCenter,
               chart.unit);
    p.restore();

    auto limits = valueLimits(chart, m_range);
    const double labelRoom = fm.height() + 10;
    if (limits && k == 0 && !m_contacts.empty() && area.height() > 3 * labelRoom) {
        // Room above the highest value for the peaks' labels, inside the frame.
        auto& [low, high] = *limits;
        const double more = (high - low) * labelRoom / (area.height() - labelRoom);
        if (std::isfinite(high + more))
            high += more;
    }
    if (limits) {
        const auto [low, high] = *limits;
        const std::vector<double> valueTicks =
            ticks(low, high, std::max(3, int(area.height() / 30)), 4);
        for (double v : valueTicks) {
            const double y = area.bottom() - (v - low) / (high - low) * area.height();
            p.setPen(QPen(GridColour, 1));
            p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
            p.setPen(Qt::black);
            const QString text = tickText(v, stepOf(valueTicks));
            p.drawText(QRectF(22, y - fm.height() / 2, LeftMargin - 28, fm.height()),
                       Qt::AlignRight | Qt::AlignVCenter, text);
        }
        p.save();
        p.setClipRect(area);
        if (k == 0)
            paintMarks(p, area, low, high);
        paintCurves(p, chart.raw, true, area, low, high);
        paintCurves(p, chart.curves, false, area, low, high);
        p.restore();
    } else {
        p.setPen(Qt::black);
        p.drawText(area, Qt::AlignCenter, QStringLiteral("No data"));
    }
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(area);

    // The legend: the chart's name, then a short line of each curve's colour.
    if (!chart.curves.empty()) {
        double x = area.left();
        const double y = area.top() - fm.height() - 3;
        p.setPen(Qt::black);
        p.drawText(QPointF(x, y + fm.ascent()), chart.title);
        x += fm.horizontalAdvance(chart.title) + 16;
        for (const Curve& c : chart.curves) {
            p.setPen(QPen(c.colour, 2.5));
            p.drawLine(QPointF(x, y + fm.height() / 2), QPointF(x + 20, y + fm.height() / 2));
            x += 26;
            p.setPen(Qt::black);
            p.drawText(QPointF(x, y + fm.ascent()), c.name);
            x += fm.horizontalAdvance(c.name) + 10;
        }
    }
}

void ChartView::paintCurves(QPainter& p, const std::vector<Curve>& curves, bool faint,
                            const QRectF& area, double low, double high) const
{
    const double span = high - low;
    const auto yOf = [&](double v) { return area.bottom() - (v - low) / span * area.height(); };
    const auto xOf = [&](double i) { return xIn(area, i); };
    for (const Curve& c : curves) {
        const int n = int(c.values.size());
        if (n == 0)
            continue;
        const int from = std::clamp(int(std::floor(m_range.first)), 1, n);
        const int to = std::clamp(int(std::ceil(m_range.last)), 1, n);
        // The raw signal behind a filtered one: its colour a quarter strength on white.
        QColor colour = c.colour;
        if (faint)
            colour = QColor::fromRgbF(0.75 + 0.25 * colour.redF(), 0.75 + 0.25 * colour.greenF(),
                                      0.75 + 0.25 * colour.blueF());
        p.setPen(QPen(colour, faint ? 1.2 : 1.6, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin));
        QPolygonF line;
        const auto flush = [&] {
            if (line.size() == 1)
                p.drawPoint(line.front());
            else if (line.size() > 1)
                p.drawPolyline(line);
            line.clear();
        };
        const auto add = [&](double i, double v) {
            if (!std::isfinite(v)) {
                flush();
                return;
            }
            // Far outside the plot the painter only needs the direction of the line.
            line << QPointF(xOf(i), std::clamp(yOf(v), area.top() - 1e5, area.bottom() + 1e5));
        };
        const int columns = std::max(1, int(area.width()));
        if (to - from + 1 <= 2 * columns) {
            for (int i = from; i <= to; ++i)
                add(i, c.values[std::size_t(i - 1)]);
        } else {
            // More records than pixels: each pixel column shows its lowest and highest.
            int i = from;
            for (int col = 0; col < columns && i <= to; ++col) {
                const double end = m_range.first + double(col + 1) / columns * m_range.span();
                double lo = INFINITY, hi = -INFINITY;
                int loAt = i, hiAt = i;
                for (; i <= to && (i <= end || col == columns - 1); ++i) {
                    const double v = c.values[std::size_t(i - 1)];
                    if (!std::isfinite(v))
                        continue;
                    if (v < lo) {
                        lo = v;
                        loAt = i;
                    }
                    if (v > hi) {
                        hi = v;
                        hiAt = i;
                    }
                }
                if (lo > hi)
                    continue;
                if (loAt <= hiAt) {
                    add(loAt, lo);
                    add(hiAt, hi);
                } else {
                    add(hiAt, hi);
                    add(loAt, lo);
                }
            }
        }
        flush();
    }
}

void ChartView::paintMarks(QPainter& p, const QRectF& area, double low, double high) const
{
    const auto yOf = [&](double v) {
        return area.bottom() - (v - low) / (high - low) * area.height();
    };
    const auto xOf = [&](double i) { return xIn(area, i); };
    m_peakMarks.clear();
    if (m_threshold && *m_threshold >= low && *m_threshold <= high) {
        p.setPen(QPen(MarkColour, 1, Qt::DotLine));
        p.drawLine(QPointF(area.left(), yOf(*m_threshold)),
                   QPointF(area.right(), yOf(*m_threshold)));
    }
    const std::vector<double>* fz =
        m_charts[0].curves.size() > 2 ? &m_charts[0].curves[2].values : nullptr;
    const QFontMetricsF fm(p.font());
    const auto mark = [&](int record, const QString& text, bool filled) {
        if (!fz || record < 1 || record > int(fz->size()))
            return;
        const double v = (*fz)[std::size_t(record - 1)];
        if (!std::isfinite(v))
            return;
        const QPointF at(xOf(record), yOf(v));
        p.setPen(QPen(Qt::black, 1.5));
        p.setBrush(filled ? QBrush(Qt::black) : QBrush(Qt::white));
        p.drawEllipse(at, 4, 4);
        p.setBrush(Qt::NoBrush);
        // Above the mark, where the contact's force is lower, and inside the frame.
        const double w = fm.horizontalAdvance(text) + 2;
        QRectF label(at.x() - w / 2, at.y() - 6 - fm.height(), w, fm.height());
        label.moveLeft(std::clamp(label.left(), area.left() + 2, area.right() - 2 - w));
        if (label.top() < area.top() + 2)
            label.moveTop(area.top() + 2);
        p.setPen(Qt::black);
        p.drawText(label, Qt::AlignCenter, text);
        m_peakMarks.push_back({at, label});
    };
    for (const Contact& c : m_contacts) {
        p.setPen(QPen(MarkColour, 1, Qt::DashLine));
        for (int i : {c.contact.first, c.contact.last})
            p.drawLine(QPointF(xOf(i), area.top()), QPointF(xOf(i), area.bottom()));
        mark(c.peak, QStringLiteral("peak"), false);
        // The loading rate ends at the first peak: show it where it is another record.
        if (c.firstPeak != c.peak)
            mark(c.firstPeak, QStringLiteral("first peak"), true);
    }
}

void ChartView::paintCursor(QPainter& p, const Layout& l) const
{
    if (m_recordCount < 1)
        return;
    const QRectF a = l.plots[0];
    const double x = xIn(a, m_cursor);
    if (x < a.left() - 0.5 || x > a.right() + 0.5)
        return;
    p.setPen(QPen(CursorColour, 1.5));
    for (const QRectF& plot : l.plots)
        p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
}

QRect ChartView::cursorStrip(int record) const
{
    const double x = xOfRecord(record);
    return QRect(int(std::floor(x)) - 3, 0, 7, height());
}

void ChartView::paintEvent(QPaintEvent*)
{
    const qreal ratio = devicePixelRatioF();
    if (!m_cacheValid || m_cache.size() != size() * ratio) {
        m_cache = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
        m_cache.setDevicePixelRatio(ratio);
        QPainter cachePainter(&m_cache);
        cachePainter.setFont(font());
        render(cachePainter, size(), false);
        m_cacheValid = true;
    }
    QPainter p(this);
    p.drawImage(QPoint(0, 0), m_cache);
    p.setRenderHint(QPainter::Antialiasing, true);
    paintCursor(p, layoutFor(size(), false));
    if (m_drag == Drag::Band) {
        const QRectF a = plotArea(0);
        const QRectF c = plotArea(2);
        const double x0 = std::clamp(m_pressAt.x(), a.left(), a.right());
        const double x1 = std::clamp(m_bandEnd, a.left(), a.right());
        p.fillRect(
            QRectF(QPointF(std::min(x0, x1), a.top()), QPointF(std::max(x0, x1), c.bottom())),
            QColor(0, 114, 178, 50));
    }
    if (hasFocus()) {
        p.setPen(QPen(palette().highlight().color(), 1, Qt::DotLine));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void ChartView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_cacheValid = false;
}

void ChartView::moveCursorTo(int record, bool tell)
{
    if (m_recordCount < 1)
        return;
    record = std::clamp(record, 1, m_recordCount);
    if (record == m_cursor)
        return;
    update(cursorStrip(m_cursor));
    m_cursor = record;
    update(cursorStrip(m_cursor));
    if (tell)
        emit cursorMoved(record);
}

void ChartView::mousePressEvent(QMouseEvent* e)
{
    m_pressAt = e->position();
    m_bandEnd = m_pressAt.x();
    m_rangeAtPress = m_range;
    if (e->button() == Qt::MiddleButton ||
        (e->button() == Qt::LeftButton && (e->modifiers() & Qt::ShiftModifier)))
        m_drag = Drag::Pan;
    else if (e->button() == Qt::LeftButton && m_recordCount > 0 &&
             std::abs(e->position().x() - xOfRecord(m_cursor)) <= CursorGrip)
        m_drag = Drag::Cursor;
    else if (e->button() == Qt::LeftButton)
        m_drag = Drag::Band;
    else
        QWidget::mousePressEvent(e);
}

void ChartView::mouseMoveEvent(QMouseEvent* e)
{
    switch (m_drag) {
    case Drag::Cursor:
        moveCursorTo(int(std::lround(recordAtX(e->position().x()))), true);
        break;
    case Drag::Pan: {
        const double perPixel = m_rangeAtPress.span() / plotArea(0).width();
        const Range r =
            panned(m_rangeAtPress, -(e->position().x() - m_pressAt.x()) * perPixel, m_recordCount);
        if (!(r == m_range)) {
            m_range = r;
            invalidate();
            emit rangeChanged();
        }
        break;
    }
    case Drag::Band:
        m_bandEnd = e->position().x();
        update();
        break;
    case Drag::None:
        break;
    }
}

void ChartView::mouseReleaseEvent(QMouseEvent* e)
{
    const Drag drag = m_drag;
    m_drag = Drag::None;
    if (drag == Drag::Band) {
        update();
        const double x = e->position().x();
        if (std::abs(x - m_pressAt.x()) < ClickSlack)
            moveCursorTo(int(std::lround(recordAtX(x))), true);
        else
            setRange(band(recordAtX(m_pressAt.x()), recordAtX(x), m_recordCount));
    }
}

void ChartView::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) {
        m_drag = Drag::None;
        showEverything();
    }
}

void ChartView::wheelEvent(QWheelEvent* e)
{
    const double steps = e->angleDelta().y() / 120.0;
    if (steps == 0 || m_recordCount < 2)
        return;
    const double anchor = recordAtX(e->position().x());
    setRange(zoomed(m_range, anchor, std::pow(0.8, steps), m_recordCount));
    e->accept();
}

void ChartView::keyPressEvent(QKeyEvent* e)
{
    // The mouse's zoom and pan by key: around the cursor where it is in view.
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    const double anchor = m_cursor >= m_range.first && m_cursor <= m_range.last
                              ? double(m_cursor)
                              : 0.5 * (m_range.first + m_range.last);
    const double panStep = std::max(1.0, m_range.span() / 10);
    std::optional<CursorKey> key;
    switch (e->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        setRange(zoomed(m_range, anchor, 0.5, m_recordCount));
        return;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        setRange(zoomed(m_range, anchor, 2, m_recordCount));
        return;
    case Qt::Key_0:
        showEverything();
        return;
    case Qt::Key_Left:
        if (shift) {
            setRange(panned(m_range, -panStep, m_recordCount));
            return;
        }
        key = CursorKey::Left;
        break;
    case Qt::Key_Right:
        if (shift) {
            setRange(panned(m_range, panStep, m_recordCount));
            return;
        }
        key = CursorKey::Right;
        break;
    case Qt::Key_PageUp:
        key = CursorKey::PageUp;
        break;
    case Qt::Key_PageDown:
        key = CursorKey::PageDown;
        break;
    case Qt::Key_Home:
        key = CursorKey::Home;
        break;
    case Qt::Key_End:
        key = CursorKey::End;
        break;
    case Qt::Key_Escape:
        showEverything();
        return;
    default:
        QWidget::keyPressEvent(e);
        return;
    }
    const int next = movedCursor(m_cursor, *key, m_recordCount);
    // The cursor never walks off the visible part: the range follows it.
    if (next < m_range.first)
        setRange(panned(m_range, next - m_range.first, m_recordCount));
    else if (next > m_range.last)
        setRange(panned(m_range, next - m_range.last, m_recordCount));
    moveCursorTo(next, true);
}
