#include "platform/QtPlatform.h"

QtPlatform::QtPlatform()
    : m_platform{m_settings, m_dialogs, m_launcher, m_files, m_events, m_clock, m_printer, m_env}
{
}
