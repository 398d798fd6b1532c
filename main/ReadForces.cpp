#include "forcedata/ReadForces.h"
#include "animation/AnimateForces.h"
#include "core/Library.h"
#include "core/SharedState.h"
#include "forcedata/RawListing.h"
#include "forcedata/RfReader.h"
#include "forcedata/frmReading.h"
#include "main/frmOrvane.h"
#include "platform/Platform.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

frmReading* frmOrvane::readingDialog() const
{
    return m_reading;
}

void frmOrvane::cmdReadForces_Click()
{
    if (m_state.ForceFile.isEmpty()) {
        m_platform.dialogs.message(NoForceFileText, {}, MessageIcon::Exclamation,
                                   MessageButtons::OK);
        return;
    }
    ReadRF();
    m_platform.settings.save("Kinemora", "Startup", "Datadir", m_state.DataDir);
    // No view of the previous data stays on screen.
    hideAnimation();
    hideRawListing();
}

void frmOrvane::ReadRF()
{
    // The read lets window events run after every record; a second Ctrl+L in that
    // time must not start a read of its own into the same table.
    if (m_readingNow)
        return;
    // A file that cannot be read is said, with the reason: a silent return looked
    // as if the click had been ignored.
    if (CheckOpen(m_state, m_platform, m_state.DataDir, m_state.ForceFile, 1) != 0)
        return;
    FileByteSource source;
    const QString path = m_platform.files.resolve(m_state.DataDir, m_state.ForceFile);
    if (source.open(QFile::encodeName(path).toStdString()) != 0) {
        // Gone or changed since the test a moment ago: the test tells why.
        CheckOpen(m_state, m_platform, m_state.DataDir, m_state.ForceFile, 1);
        return;
    }
    m_readingNow = true;
    // A click in the force-file list during the read chooses the next file; the
    // table still holds this one.
    const QString fileBeingRead = m_state.ForceFile;

    if (m_reading)
        m_reading->close();
    m_reading = new frmReading(m_state, m_platform);
    connect(m_reading, &frmReading::animateRequested, this,
            [this] { showAnimation(m_state, m_platform); });
    m_reading->txtFilename->setText(shownForceFileName());
    m_reading->txtFiletype->setText(m_state.FileType.toUpper());
    m_reading->cmdCancel->setEnabled(false);
    m_reading->pbarLoading->setMaximum(100);
    m_reading->move(frameGeometry().center() - m_reading->rect().center());
    m_reading->show();
    m_platform.events.yield();
    m_platform.events.setBusy(true);

    ForceTable& table = m_state.forces;
    std::vector<std::string> warnings;
    RfReadCallbacks callbacks;
    callbacks.onRecord = [this](int16_t count) {
        if (m_reading)
            m_reading->showProgress(count);
        // Once the program is closing, the rest of the file is read without a pause.
        if (!m_unloading)
            m_platform.events.yield();
    };
    callbacks.onWarning = [&warnings](const std::string& text) { warnings.push_back(text); };
    const RfReadResult result = readRf(source, table, callbacks);

    m_platform.events.setBusy(false);
    source.close();
    m_readingNow = false;
    if (m_unloading)
        return;
    // The boxes below stand over the dialog: it shows the count they speak of.
    if (m_reading)
        m_reading->drawProgress();

    for (const std::string& warning : warnings) {
        QString text = QString::fromStdString(warning);
        text.replace(u'\n', m_state.LF);
        m_platform.dialogs.message(text, {}, MessageIcon::Exclamation, MessageButtons::OK);
    }
    if (table.samplingRateHz() == 0) {
        table.SamplingRate =
            m_platform.dialogs.input("Enter sampling rate of forces.", "Force Sampling Rate", "200")
                .toStdString();
    }
    Q_UNUSED(result);
    cmdViewForces->setEnabled(true);
    cmdAnimate->setEnabled(true);
    m_state.LoadedForceFile = fileBeingRead;
    if (m_reading)
        m_reading->EndLoading();
}

bool frmOrvane::TestTrial()
{
    if (!m_state.TrialName.isEmpty())
        return false;
    m_platform.dialogs.message("Select a trial from the Data or Model menus first.", {},
                               MessageIcon::Exclamation, MessageButtons::OK);
    for (QWidget* w : std::initializer_list<QWidget*>{filDatafiles, lblDatafiles, filModels,
                                                      lblModels, drvDrives, dirSelect})
        w->setVisible(true);
    return true;
}
