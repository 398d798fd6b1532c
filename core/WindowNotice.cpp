#include "core/WindowNotice.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QLabel>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace
{
constexpr const char* RestoreTimerName = "restoreNotice";
constexpr const char* NoticeName = "windowNotice";

// A line over a window that screen readers present as an alert.
class NoticeLine : public QLabel
{
    Q_OBJECT
public:
    explicit NoticeLine(QWidget* parent) : QLabel(parent)
    {
        setObjectName(NoticeName);
        setWordWrap(true);
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setMargin(4);
        setAutoFillBackground(true);
        setBackgroundRole(QPalette::ToolTipBase);
        setForegroundRole(QPalette::ToolTipText);
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_ShowWithoutActivating);
    }
};

QAccessibleInterface* noticeAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String("NoticeLine") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::AlertMessage);
    return nullptr;
}

QTimer* restartTimer(QObject* owner, const std::function<void()>& done)
{
    auto* timer = owner->findChild<QTimer*>(RestoreTimerName, Qt::FindDirectChildrenOnly);
    if (!timer) {
        timer = new QTimer(owner);
        timer->setObjectName(RestoreTimerName);
        timer->setSingleShot(true);
    }
    timer->disconnect();
    QObject::connect(timer, &QTimer::timeout, owner, done);
    timer->start(NoticeMilliseconds);
    return timer;
}
} // namespace

namespace
{
constexpr const char* WholeTextProperty = "wholeText";
constexpr const char* ShownTextProperty = "shownText";

// Shows the panel's whole text elided in the middle to the panel's width, so a long
// path keeps both its start and the file's name; the tooltip and screen readers get
// it whole.
void fitPanelText(QLabel* panel)
{
    const QString whole = panel->property(WholeTextProperty).toString();
    // A few pixels short of the panel, as the style draws its text inset from the frame.
    const int room =
        panel->contentsRect().width() - 2 * panel->margin() - std::max(panel->indent(), 0) - 6;
    const QString shown = panel->isVisible() && room > 0
                              ? panel->fontMetrics().elidedText(whole, Qt::ElideMiddle, room)
                              : whole;
    panel->setText(shown);
    panel->setProperty(ShownTextProperty, shown);
    panel->setToolTip(shown == whole ? QString() : whole);
    panel->setAccessibleName(whole);
}

class PanelResizeWatch : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
            fitPanelText(static_cast<QLabel*>(watched));
        return false;
    }
};

void setPanelText(QLabel* panel, const QString& text)
{
    if (!panel->property(WholeTextProperty).isValid()) {
        panel->installEventFilter(new PanelResizeWatch(panel));
        // The panel takes the width it is given; a long text does not widen the window.
        panel->setSizePolicy(QSizePolicy::Ignored, panel->sizePolicy().verticalPolicy());
    }
    panel->setProperty(WholeTextProperty, text);
    fitPanelText(panel);
}
} // namespace

QString panelWholeText(const QLabel* panel)
{
    const QVariant whole = panel ? panel->property(WholeTextProperty) : QVariant();
    return whole.isValid() ? whole.toString() : panel ? panel->text() : QString();
}

void showPanelText(QLabel* panel, const QString& text, const QString& notice)
{
    if (!panel)
        return;
    setPanelText(panel, text);
    restartTimer(panel, [panel, text, notice] {
        // Another text has taken its place meanwhile.
        if (panelWholeText(panel) != text ||
            panel->text() != panel->property(ShownTextProperty).toString())
            return;
        setPanelText(panel, notice);
    });
}

void showWindowNotice(QWidget* window, const QString& text)
{
    if (!window || text.isEmpty())
        return;
    static const bool installed = [] {
        QAccessible::installFactory(&noticeAccessible);
        return true;
    }();
    (void)installed;
    auto* line = static_cast<NoticeLine*>(windowNotice(window));
    if (!line)
        line = new NoticeLine(window);
    line->setText(text);
    line->setAccessibleName(text);
    const int margin = 8;
    const int width = std::max(window->width() - 2 * margin, 100);
    line->setFixedWidth(width);
    line->adjustSize();
    line->move(margin, std::max(window->height() - line->height() - margin, 0));
    line->raise();
    line->show();
    QAccessibleEvent shown(line, QAccessible::Alert);
    QAccessible::updateAccessibility(&shown);
    restartTimer(line, [line] { line->hide(); });
}

QLabel* windowNotice(QWidget* window)
{
    return window ? window->findChild<QLabel*>(NoticeName, Qt::FindDirectChildrenOnly) : nullptr;
}

#include "WindowNotice.moc"
