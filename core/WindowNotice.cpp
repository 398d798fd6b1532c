#include "core/WindowNotice.h"

#include <QAccessible>
#include <QAccessibleWidget>
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

void showPanelText(QLabel* panel, const QString& text, const QString& notice)
{
    if (!panel)
        return;
    panel->setText(text);
    panel->setToolTip(text);
    restartTimer(panel, [panel, text, notice] {
        if (panel->text() != text)
            return;
        panel->setText(notice);
        panel->setToolTip(QString());
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
