#pragma once

// The animation window: force vectors standing on their centres of pressure over a
// plate outline, drawn pass after pass by a cooperative loop that lets the window's
// events run between records. Handlers talk to a running pass only through the
// window state (StopRequested, Animating, SettingsChanged).

#include "animation/Geometry.h"

#include <QWidget>

#include <array>
#include <cstdint>

class PictureBox;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
struct Platform;
struct SharedState;

class frmAnimForces : public QWidget
{
    Q_OBJECT
public:
    frmAnimForces(SharedState& state, Platform& platform, QWidget* parent = nullptr);
    ~frmAnimForces() override;

    // Window events.
    void Form_Load();
    void Form_Activate();
    void Form_Resize();
    void Form_Unload(bool& cancel);
    // Key codes as the suite's windows know them: F1 112 ... F4 115, Space 32.
    void Form_KeyDown(int keyCode);

    // Buttons and lists.
    void cmdOk_Click();
    void cmdMinimum_Click();
    void cmdPrint_Click();
    void cmdAnimate_Click();
    void cmdStop_Click();
    void cmdView_Click();
    void cmdStep_Click();
    void cmdReset_Click();
    void comDelay_Click();
    void comIncrement_Click();

    // Options.
    void optView_Click(int index);
    void optMode_Click(int index);
    void optPlate_Click(int index);
    void optReverse_Click(int index);
    void chkOptions_Click(int index);
    void chkReverseAz_Click();
    void txtMagnify_Click();
    void txtScaleF_Click();
    void txtWeight_Click();
    void txtMagnify_Change();
    void txtScaleF_Change();
    void txtWeight_Change();

    // Runs passes until StopRequested; a call while one runs restarts the running one.
    void PlaybackLoop();
    // One pass over the records with `delay` units between drawn records.
    void ViewVectors(int16_t delay);
    void DrawPlate();

    // "&Animate Forces" on the main window: activates the window the way a first
    // showing does, restarting a running playback so it shows the current trial.
    void activateFromMain();
    // Runs activateFromMain once control is back in the event loop, unless the
    // window-system activation of the window comes first.
    void requestActivation();
    // Closed by its close box; a running pass has ended or ends at its next yield.
    bool isUnloaded() const { return m_unloaded; }
    // A playback or pass is running somewhere on the call stack.
    bool isBusy() const { return m_busy > 0; }
    bool isPlaying() const { return m_playing; }
    // Once unloaded and no longer busy, the window deletes itself.
    void setDeleteWhenUnloaded(bool on);
    // While no pass runs, draws the pass up to record `index` as a step shows it, with
    // its readouts (the graphs' cursor); animation/graphs/AnimCommands.cpp.
    void showRecord(int index);

    // Controls. Arrays are indexed as the handlers' indices.
    PictureBox* picVectors = nullptr;
    QLabel* lblAbscissa = nullptr;
    QLabel* lblOrdinate = nullptr;
    QGroupBox* fraTitle = nullptr;
    QGroupBox* fraSizing = nullptr;
    QGroupBox* fraMode = nullptr;
    QGroupBox* fraView = nullptr;
    QGroupBox* fraReverse = nullptr;
    QGroupBox* fraPlate = nullptr;
    QGroupBox* fraReverse2 = nullptr;
    QGroupBox* fraOptions = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdMinimum = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdView = nullptr;
    QPushButton* cmdStep = nullptr;
    QPushButton* cmdAnimate = nullptr;
    QPushButton* cmdStop = nullptr;
    QPushButton* cmdReset = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblFrame = nullptr;
    QLabel* lblRecord = nullptr;
    QLabel* txtAnimate = nullptr;
    QLabel* lblTrial = nullptr;
    QLabel* lblMagnify = nullptr;
    QLineEdit* txtFrame = nullptr;
    QLineEdit* txtRecord = nullptr;
    QLineEdit* txtFrameTime = nullptr;
    QLineEdit* txtRecordTime = nullptr;
    QLineEdit* txtTrial = nullptr;
    QLineEdit* txtForces = nullptr;
    QLineEdit* txtRate = nullptr;
    QLineEdit* txtScaleF = nullptr;
    QLineEdit* txtMagnify = nullptr;
    QLineEdit* txtWeight = nullptr;
    QLineEdit* txtRx = nullptr;
    QLineEdit* txtRy = nullptr;
    QLineEdit* txtRz = nullptr;
    QComboBox* comIncrement = nullptr;
    QComboBox* comDelay = nullptr;
    std::array<QRadioButton*, 4> optMode{};
    std::array<QRadioButton*, 5> optView{};
    std::array<QRadioButton*, 8> optReverse{};
    std::array<QRadioButton*, 5> optPlate{};
    std::array<QCheckBox*, 6> chkOptions{};
    QCheckBox* chkReverseAz = nullptr;

    // The custom view's angles, kept in the settings store between runs.
    double PitchDeg = 0;
    double RollDeg = 0;
    float YawDeg = 0;

    // Window state.
    int16_t ViewIndex = 1;
    int16_t ModeIndex = 2;
    int16_t PlateIndex = 0;
    double ForceScale = 0.01;
    float Magnification = 1.0f;
    float VectorSize = 1.0f;
    int HorizForceSign = -1;
    int HorizCentreSign = 1;
    int VertForceSign = 1;
    int VertCentreSign = 1;
    int AzSign = 1;
    bool StopRequested = false;
    bool Animating = true;
    bool ShowPath = true;
    bool StepMode = false;
    bool SettingsChanged = true;
    double Increment = 1;
    int16_t Delay = 1;
    bool SmallLayout = false;
    int CurrentRecord = 0;
    bool KeyPreview = false;

    // One delay unit, spent yielding to the window's events.
    static constexpr int DelayUnitMs = 2;

signals:
    // The window hands the user back to the main window ("O&K", close box).
    void mainWindowWanted();
    // A line for the main window's status bar (where a print went).
    void statusMessage(const QString& text);
    // The readouts show record `index` (at most about sixty times a second).
    void recordShown(int index);

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class BusyScope;
    enum class PassEnd { Finished, Ended, Restart };
    struct PassScales {
        double centre = 1.0;
        double vector = 0.01;
    };

    void buildControls();
    void connectHandlers();
    // Context menu of the picture and Ctrl+G (animation/graphs/AnimCommands.cpp).
    void addGraphsCommands();
    void runStaticView();
    void redraw();
    void showAnimateButton();
    void refreshReadouts();
    // Selects "&Custom view" in place of "&New custom" before a drawing that follows.
    void selectCustomView();
    anim::Projection projection(const PassScales& scales) const;
    void showPauseDialog();
    // Runs one pass; `isStatic` for the static view, which may be asked to start over.
    void runPass(int16_t delay, bool isStatic);
    PassEnd drawRecords(int16_t delay, bool isStatic, PassScales scales);
    // Lets window events run once; false when the pass in `isStatic` must end now.
    bool yieldAndContinue(bool isStatic);
    bool waitBetweenPasses();
    bool passInterrupted(bool isStatic) const;
    // Shows the drawing and the readouts of the last drawn record, at most at the
    // pace of the screen unless `now`.
    void refreshDisplay(bool now);
    void applyResizeLayout();
    QSize frameMarginsPx() const;
    // Once the window manager's frame is known, the window takes its outer size and
    // minimum from the layout again (it opened before the frame could be counted).
    void adoptWindowFrame();
    void showViewCaptions(int view);
    void finishUnload();

    SharedState& m_state;
    Platform& m_platform;
    QButtonGroup* m_modeGroup = nullptr;
    QButtonGroup* m_viewGroup = nullptr;
    QButtonGroup* m_reverseYGroup = nullptr;
    QButtonGroup* m_reverseXGroup = nullptr;
    QButtonGroup* m_plateGroup = nullptr;
    QButtonGroup* m_optionsGroup = nullptr;

    int m_busy = 0;
    bool m_playing = false;
    int m_staticPasses = 0;
    bool m_restartPlayback = false;
    bool m_restartStatic = false;
    bool m_unloaded = false;
    bool m_deleteWhenUnloaded = false;
    QSize m_layoutMargins; // the frame the last layout counted with
    QSize m_openingSize;   // client size until the user or the layout changes it
    bool m_activationPending = false;
    bool m_redrawSuppressed = false;
    int m_pendingReadout = 0; // record whose readouts are not shown yet
    double m_lastRefresh = -1;
};
