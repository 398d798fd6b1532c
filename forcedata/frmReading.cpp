#include "forcedata/frmReading.h"

#include "core/SharedState.h"
#include "platform/Controls.h"
#include "platform/Platform.h"
#include "platform/Twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace
{
QLineEdit* makeBox(QWidget* parent, const QString& name, const QString& text, const QString& tip,
                   QLabel* label, int l, int t, int w, int h)
{
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(name);
    box->setToolTip(tip);
    box->setReadOnly(true);
    box->setAccessibleName(label->text().simplified().remove(u'&'));
    box->setAccessibleDescription(tip);
    label->setBuddy(box);
    placeTwips(box, l, t, w, h);
    return box;
}

} // namespace

frmReading::frmReading(SharedState& state, Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state), m_platform(platform)
{
    setObjectName("frmReading");
    setWindowTitle("Reading.    Please wait...");
    setAttribute(Qt::WA_DeleteOnClose);
    resizeTwips(this, 4455, 1800);

    lblFilename = new QLabel("Filename:", this);
    placeTwips(lblFilename, 120, 120, 735, 255);
    txtFilename =
        makeBox(this, "txtFilename", "Text1", "Filename of data", lblFilename, 840, 120, 3495, 285);
    lblFiletype = new QLabel("Filetype:", this);
    placeTwips(lblFiletype, 120, 480, 615, 255);
    txtFiletype = makeBox(this, "txtFiletype", "Text1", "Type of data file", lblFiletype, 840, 480,
                          2175, 375);
    lblStatus = new QLabel("Samples/   channel:", this);
    lblStatus->setWordWrap(true);
    placeTwips(lblStatus, 120, 840, 735, 495);
    txtSample = makeBox(this, "txtSample", "?", "Status or number of data per channel", lblStatus,
                        840, 840, 2175, 375);
    txtSample->setAccessibleName("Samples per channel");

    cmdCancel =
        makeButton(this, "cmdCancel", "&Cancel", "Press to stop processing", 3120, 480, 1215, 375);
    cmdView = makeButton(this, "cmdView", "&Animate", "Press to view data graphically", 3120, 480,
                         1215, 375);
    cmdExit = makeButton(this, "cmdExit", "&Done", "Press to exit", 3120, 960, 1215, 375);
    cmdExit->hide();

    pbarLoading = new QProgressBar(this);
    pbarLoading->setObjectName("pbarLoading");
    pbarLoading->setAccessibleName("Records read");
    pbarLoading->setTextVisible(false);
    placeTwips(pbarLoading, 120, 1380, 4215, 255);

    connect(cmdCancel, &QPushButton::clicked, this, &frmReading::cmdCancel_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmReading::cmdExit_Click);
    connect(cmdView, &QPushButton::clicked, this, &frmReading::cmdView_Click);
    Form_Load();
}

void frmReading::Form_Load()
{
    txtFilename->setText(m_state.TargetName);
    txtFiletype->clear();
    cmdCancel->show();
    cmdView->hide();
    pbarLoading->show();
}

void frmReading::showProgress(int recordCount)
{
    m_count = recordCount;
    const double now = m_platform.clock.elapsed();
    if (m_lastDrawn < 0 || now - m_lastDrawn >= 1.0 / 60)
        drawProgress();
}

void frmReading::drawProgress()
{
    if (m_count < 0)
        return;
    txtSample->setText(QString::number(m_count));
    pbarLoading->setValue(m_count % 100);
    m_lastDrawn = m_platform.clock.elapsed();
}

void frmReading::EndLoading()
{
    drawProgress();
    pbarLoading->hide();
    cmdCancel->hide();
    cmdExit->show();
    cmdView->show();
    txtSample->setText("Number of records: " + QString::number(m_state.forces.RecordCount));
    cmdView->setDefault(true);
    cmdView->setFocus();
}

void frmReading::cmdCancel_Click()
{
    close();
}

void frmReading::cmdExit_Click()
{
    close();
}

void frmReading::cmdView_Click()
{
    emit animateRequested();
    close();
}
