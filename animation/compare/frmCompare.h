#pragma once

// "Compare Trials": the force files of a data directory, checked and put into groups
// A and B, drawn on one chart over their first contact with each group's mean and
// spread, beside one table of their numbers. Each file is read once; its curves and
// rows are kept until the threshold or the filter changes.

#include "animation/compare/CompareData.h"

#include <QString>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class CompareChart;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
struct Platform;
struct SharedState;

inline constexpr const char* CompareTitle = "Compare Trials";

class frmCompare : public QWidget
{
    Q_OBJECT
public:
    frmCompare(SharedState& state, Platform& platform, QWidget* parent = nullptr);
    ~frmCompare() override;

    // Lists the force files of `dir` and takes back the choice last made there.
    void openDirectory(const QString& dir);
    // Adds trials from anywhere (the paths as given), checked.
    void addFiles(const QStringList& paths);
    void setChecked(const QString& file, bool checked);
    void setGroup(const QString& file, compare::Group group);

    // What the buttons save, as text.
    std::string tableCsv() const;
    std::string curvesCsvText() const;
    void saveTable();
    void saveCurves();
    void savePicture();

    QLabel* lblFilter = nullptr;
    QLineEdit* txtFilter = nullptr;
    QLabel* lblTrials = nullptr;
    QTreeWidget* lstTrials = nullptr;
    QPushButton* cmdAddFiles = nullptr;
    QPushButton* cmdGroupA = nullptr;
    QPushButton* cmdGroupB = nullptr;
    QPushButton* cmdNoGroup = nullptr;
    QLabel* lblQuantity = nullptr;
    QComboBox* cboQuantity = nullptr;
    QRadioButton* optNormalised = nullptr;
    QRadioButton* optSeconds = nullptr;
    QCheckBox* chkBodyWeights = nullptr;
    QCheckBox* chkIndividual = nullptr;
    QLabel* lblThreshold = nullptr;
    QDoubleSpinBox* txtThreshold = nullptr;
    QLabel* lblLowPass = nullptr;
    QLineEdit* txtLowPass = nullptr;
    CompareChart* chart = nullptr;
    QLabel* lblCurve = nullptr;
    QCheckBox* chkAllContacts = nullptr;
    QTableWidget* tblNumbers = nullptr;
    QPushButton* cmdSaveTable = nullptr;
    QPushButton* cmdSaveCurves = nullptr;
    QPushButton* cmdSavePicture = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Trial;
    Trial& trialOf(QTreeWidgetItem* item);
    QTreeWidgetItem* itemOf(const QString& file) const;
    QTreeWidgetItem* addRow(const QString& file, const QString& path, bool checked,
                            compare::Group group);
    void prepare(Trial& t);
    void refresh();
    void redrawChart();
    void fillTable();
    void applyFilter();
    void groupChosen(compare::Group group);
    void lowPassEdited();
    void showRowNote(QTreeWidgetItem* item);
    void rememberChoice();
    std::optional<double> lowPassHz() const;
    std::vector<const Trial*> checkedTrials() const;

    SharedState& m_state;
    Platform& m_platform;
    QString m_dir;
    std::vector<std::unique_ptr<Trial>> m_trials; // in the order of the rows
    bool m_filling = false;
    QTimer* m_saveTimer = nullptr;
};

// The one compare window, opened on the data directory at every call.
frmCompare* showCompare(SharedState& state, Platform& platform);
frmCompare* compareWindow();
