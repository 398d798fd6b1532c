#pragma once

// The small window that imports a C3D file's force plates as force files: the
// plates with their type, place, size and peak vertical force, a plan of them seen
// from above, what will be written (and how samples are averaged), the name of the
// force file in the data directory, and a progress bar.

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
    // Converts every plate with a load, each to NAME_Pn.RF; nothing is written when
    // any of those files exists. True when all were written.
    bool cmdImportAll_Click();

    QLabel* lblFile = nullptr;
    QLabel* lblPlates = nullptr;
    QListWidget* lstPlates = nullptr;
    QLabel* lblPlate = nullptr;   // the chosen plate: type, place, size, peak, sense
    QWidget* picPlan = nullptr;   // the plates seen from above, the chosen one filled
    QLabel* lblNote = nullptr;    // how the file's units were read, when it matters
    QLabel* lblRecords = nullptr; // what the samples become, averaged or not
    QLabel* lblOutput = nullptr;
    QLineEdit* txtOutput = nullptr;
    QProgressBar* pbarConvert = nullptr;
    QPushButton* cmdImportAll = nullptr;
    QPushButton* cmdImport = nullptr;
    QPushButton* cmdCancel = nullptr;

signals:
    // A force file of this name has been written in the data directory.
    void imported(const QString& fileName);

private:
    void fail(const QString& reason);
    void progress(double fraction);
    // Converts `plate` to text for the force file; empty after a message on failure.
    std::optional<std::string> convert(int plate, double from, double span);

    SharedState& m_state;
    Platform& m_platform;
    QString m_path;
    std::unique_ptr<c3d::FileBytes> m_bytes;
    std::optional<c3d::Trial> m_trial;
    std::vector<c3d::PlateInfo> m_plates;
};
