#pragma once

// The small window that imports a C3D file's force plate as a force file: the
// plates with their type, samples, rate and peak vertical force, the name of the
// force file to write in the data directory, and a progress bar.

#include "forcedata/c3d/C3dConvert.h"

#include <QDialog>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
struct Platform;
struct SharedState;

class frmImportC3D : public QDialog
{
    Q_OBJECT
public:
    frmImportC3D(SharedState& state, Platform& platform, QWidget* parent = nullptr);
    ~frmImportC3D() override;

    // Reads the file's plates and proposes the plate with the largest peak. False,
    // after a message naming the reason, when the file cannot be imported.
    bool Load(const QString& c3dPath);

    void lstPlates_Change();
    // Converts the chosen plate into the named file; true when it was written.
    bool cmdImport_Click();

    QLabel* lblFile = nullptr;
    QLabel* lblPlates = nullptr;
    QListWidget* lstPlates = nullptr;
    QLabel* lblNote = nullptr; // how the file's units were read, when it matters
    QLabel* lblOutput = nullptr;
    QLineEdit* txtOutput = nullptr;
    QProgressBar* pbarConvert = nullptr;
    QPushButton* cmdImport = nullptr;
    QPushButton* cmdCancel = nullptr;

signals:
    // A force file of this name has been written in the data directory.
    void imported(const QString& fileName);

private:
    void fail(const QString& reason);
    void progress(double fraction);

    SharedState& m_state;
    Platform& m_platform;
    QString m_path;
    std::unique_ptr<c3d::FileBytes> m_bytes;
    std::optional<c3d::Trial> m_trial;
    std::vector<c3d::PlateInfo> m_plates;
};
