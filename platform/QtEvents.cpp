// The event pump and the clock.

#include "platform/QtPlatform.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QThread>
#include <QTime>

void QtEventPump::yield()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEventPump::yieldFor(int ms)
{
    QElapsedTimer timer;
    timer.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
        if (timer.elapsed() < ms)
            QThread::msleep(1);
    } while (timer.elapsed() < ms);
}

void QtEventPump::setBusy(bool busy)
{
    if (busy) {
        ++m_busyDepth;
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (m_busyDepth > 0) {
        --m_busyDepth;
        QGuiApplication::restoreOverrideCursor();
    }
}

QtClock::QtClock()
{
    m_timer.start();
}

double QtClock::elapsed()
{
    return m_timer.nsecsElapsed() / 1e9;
}

double QtClock::secondsSinceMidnight()
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}
