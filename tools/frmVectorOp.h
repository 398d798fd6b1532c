#pragma once

// "Force Vector Options": the plate outline, the view and the options of the force
// signature tool, which "&View" starts on the current force file.

#include <QCheckBox>
#include <QWidget>
#include <array>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class FilePanelsLink;
class MainWindowLink;
struct Platform;
struct SharedState;
struct SignatureChoice;

// A check box with three states: clear, ticked and greyed (ticked but dim, set only by
// the program). A click on a greyed box clears it.
class TriStateCheckBox : public QCheckBox
{
    Q_OBJECT
public:
    TriStateCheckBox(const QString& caption, QWidget* parent);
    // 0 clear, 1 ticked, 2 greyed.
    int value() const;
    void setValue(int value);

protected:
    void nextCheckState() override;
};

class frmVectorOp : public QWidget
{
    Q_OBJECT
public:
    frmVectorOp(SharedState& state, Platform& platform, MainWindowLink& mainWindow,
                FilePanelsLink& panels);

    void Form_Activate();
    void cmdDefaults_Click();
    void optView_Click(int index);
    void cmdView_Click();
    void cmdExit_Click();
    void Form_Unload();

    // The choices as the controls show them.
    SignatureChoice choice() const;

    QLabel* Label1 = nullptr;
    QGroupBox* fraPlate = nullptr;
    std::array<QRadioButton*, 3> optPlate{};
    QLabel* Label2 = nullptr;
    QGroupBox* fraView = nullptr;
    std::array<QRadioButton*, 3> optView{};
    QLabel* Label3 = nullptr;
    QGroupBox* fraOptions = nullptr;
    TriStateCheckBox* chkColour = nullptr;
    TriStateCheckBox* chkGraphics = nullptr;
    TriStateCheckBox* chkAxes = nullptr;
    TriStateCheckBox* chkFoot = nullptr;
    TriStateCheckBox* chkSkip = nullptr;
    TriStateCheckBox* chkDirCorr = nullptr;
    QPushButton* cmdView = nullptr;
    QPushButton* cmdDefaults = nullptr;
    QPushButton* cmdExit = nullptr;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    SharedState& m_state;
    Platform& m_platform;
    MainWindowLink& m_main;
    FilePanelsLink& m_panels;
    QButtonGroup* m_plates = nullptr;
    QButtonGroup* m_views = nullptr;
};
