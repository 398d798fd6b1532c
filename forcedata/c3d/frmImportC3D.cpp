#include "forcedata/c3d/frmImportC3D.h"
#include "core/SharedState.h"
#include "platform/FileErrors.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace
{

const QString WindowTitle = QStringLiteral("Import C3D force plates");

QString plateText(const c3d::PlateInfo& p)
{
    QString text = QString("Plate %1   type %2   %3 samples   %4 Hz   peak Fz %5 N")
                       .arg(p.number)
                       .arg(p.type)
                       .arg(p.samples)
                       .arg(p.rate, 0, 'g', 6)
                       .arg(p.peakFz, 0, 'f', 1);
    if (!p.problem.empty())
        text += "   (cannot be read)";
    return text;
}

} // namespace

frmImportC3D::frmImportC3D(SharedState& state, Platform& platform, QWidget* parent)
    : QDialog(parent), m_state(state), m_platform(platform)
{
    setObjectName("frmImportC3D");
    setWindowTitle(WindowTitle);
    setAccessibleName(WindowTitle);

    lblFile = new QLabel(this);
    lblFile->setObjectName("lblFile");
    lblFile->setAccessibleDescription("C3D file");
    lblPlates = new QLabel("&Plates:", this);
    lstPlates = new QListWidget(this);
    lstPlates->setObjectName("lstPlates");
    lstPlates->setAccessibleName("Plates");
    lblPlates->setBuddy(lstPlates);
    lblNote = new QLabel(this);
    lblNote->setObjectName("lblNote");
    lblNote->setAccessibleDescription("Note");
    lblNote->setWordWrap(true);
    lblNote->hide();
    lblOutput = new QLabel("&Force file:", this);
    txtOutput = new QLineEdit(this);
    txtOutput->setObjectName("txtOutput");
    txtOutput->setAccessibleName("Force file");
    lblOutput->setBuddy(txtOutput);
    pbarConvert = new QProgressBar(this);
    pbarConvert->setObjectName("pbarConvert");
    pbarConvert->setAccessibleName("Progress");
    pbarConvert->setRange(0, 100);
    pbarConvert->setValue(0);
    cmdImport = new QPushButton("&Import", this);
    cmdImport->setObjectName("cmdImport");
    cmdImport->setDefault(true);
    cmdCancel = new QPushButton("Cancel", this);
    cmdCancel->setObjectName("cmdCancel");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdImport);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblFile);
    layout->addWidget(lblPlates);
    layout->addWidget(lstPlates);
    layout->addWidget(lblNote);
    layout->addWidget(lblOutput);
    layout->addWidget(txtOutput);
    layout->addWidget(pbarConvert);
    layout->addLayout(buttons);
    resize(560, 300);

    connect(lstPlates, &QListWidget::currentRowChanged, this, &frmImportC3D::lstPlates_Change);
    connect(cmdImport, &QPushButton::clicked, this, [this] {
        if (cmdImport_Click())
            accept();
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmImportC3D::~frmImportC3D() = default;

void frmImportC3D::fail(const QString& reason)
{
    m_platform.dialogs.message("Cannot import " + QFileInfo(m_path).fileName() + ":" + m_state.LF +
                                   reason,
                               WindowTitle, MessageIcon::Critical, MessageButtons::OK);
}

void frmImportC3D::progress(double fraction)
{
    pbarConvert->setValue(static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * 100)));
    m_platform.events.yield();
}

bool frmImportC3D::Load(const QString& c3dPath)
{
    m_path = c3dPath;
    lblFile->setText(QDir::toNativeSeparators(c3dPath));
    m_bytes = std::make_unique<c3d::FileBytes>();
    if (const int error = m_bytes->open(c3dPath.toStdString()); error != FileError::None) {
        fail(QString::fromStdString(fileErrorText(error)));
        return false;
    }
    m_platform.events.setBusy(true);
    try {
        m_trial = c3d::openTrial(*m_bytes);
        m_plates = c3d::surveyPlates(*m_bytes, *m_trial, [this](double f) { progress(f); });
    } catch (const std::exception& e) {
        m_platform.events.setBusy(false);
        fail(QString::fromStdString(e.what()));
        return false;
    }
    m_platform.events.setBusy(false);
    pbarConvert->setValue(0);
    if (m_plates.empty()) {
        fail("the file has no force plates");
        return false;
    }
    int best = 0;
    for (std::size_t i = 0; i < m_plates.size(); ++i) {
        lstPlates->addItem(plateText(m_plates[i]));
        if (m_plates[i].problem.empty() &&
            (!m_plates[best].problem.empty() || m_plates[i].peakFz > m_plates[best].peakFz))
            best = static_cast<int>(i);
    }
    lstPlates->setCurrentRow(best);
    lstPlates_Change();
    return true;
}

void frmImportC3D::lstPlates_Change()
{
    const int row = lstPlates->currentRow();
    if (row < 0 || !m_trial)
        return;
    QStringList notes;
    for (const std::string& note : m_trial->plates.plates[static_cast<std::size_t>(row)].notes)
        notes << QString::fromStdString(note);
    lblNote->setText(notes.join(m_state.LF));
    lblNote->setVisible(!notes.isEmpty());
    txtOutput->setText(QString::fromStdString(c3d::outputName(m_path.toStdString(), row + 1)));
}

bool frmImportC3D::cmdImport_Click()
{
    const int row = lstPlates->currentRow();
    const QString name = txtOutput->text().trimmed();
    if (!m_trial || row < 0) {
        fail("no plate is chosen");
        return false;
    }
    if (name.isEmpty() || name.contains('/') || name.contains('\\')) {
        fail("the force file needs a name (without a directory)");
        return false;
    }
    const QString target = QDir(m_state.DataDir).filePath(name);
    if (QFileInfo::exists(target)) {
        fail(name + " exists already; choose another name");
        return false;
    }
    c3d::ConvertOptions options;
    options.plate = row + 1;
    options.title = c3d::baseName(m_path.toStdString()) + " plate " + std::to_string(row + 1);
    std::string text;
    cmdImport->setEnabled(false);
    m_platform.events.setBusy(true);
    try {
        const c3d::Conversion conversion =
            c3d::convertPlate(*m_bytes, *m_trial, options, [this](double f) { progress(f); });
        text = c3d::forceFileText(conversion);
    } catch (const std::exception& e) {
        m_platform.events.setBusy(false);
        cmdImport->setEnabled(true);
        fail(QString::fromStdString(e.what()));
        return false;
    }
    const int error = c3d::writeNewFile(target.toStdString(), text);
    m_platform.events.setBusy(false);
    cmdImport->setEnabled(true);
    if (error != FileError::None) {
        fail(name + ": " + QString::fromStdString(fileErrorText(error)));
        return false;
    }
    pbarConvert->setValue(100);
    emit imported(name);
    return true;
}
