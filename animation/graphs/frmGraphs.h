#pragma once

// The force graphs: forces, centre of pressure and moment against time on one axis,
// with a cursor tied both ways to the animation window, zoom and pan, the contacts'
// key events, and the pictures and numbers a researcher takes out of them.

#include "animation/frmAnimForces.h"
#include "animation/graphs/GraphData.h"

#include <QPointer>
#include <QWidget>

#include <memory>
#include <optional>

class ChartView;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QMenu;
class QSplitter;
class QTableWidget;
struct Platform;
struct SharedState;

inline constexpr const char* GraphsTitle = "Force Graphs";

class frmGraphs : public QWidget
{
    Q_OBJECT
public:
    frmGraphs(SharedState& state, Platform& platform, QWidget* parent = nullptr);
    ~frmGraphs() override;

    // Takes the force table and the animation's options afresh.
    void reload();
    // Ties the cursor to the animation window's record, both ways.
    void linkAnimation(frmAnimForces* window);
    frmAnimForces* linkedAnimation() const;

    void savePicture();
    void saveNumbers();
    // The animation's options the curves follow (defaults without an animation window).
    graphs::ViewOptions viewOptions() const;

    ChartView* chart = nullptr;
    QLabel* lblFile = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblReadout = nullptr;
    QLabel* lblThreshold = nullptr;
    QDoubleSpinBox* txtThreshold = nullptr;
    QLabel* lblLowPass = nullptr;
    QLineEdit* txtLowPass = nullptr; // the cut-off in Hz, empty for none
    QLabel* lblLoadedSign = nullptr; // shown for a plate whose Fz is negative under load
    QTableWidget* tblEvents = nullptr;
    QMenu* mnuChart = nullptr;
    // Charts above, the key events below; the table's part fits its rows until the user
    // moves the divider.
    QSplitter* splEvents = nullptr;

protected:
    bool event(QEvent* event) override;

private:
    void cursorMoved(int record);
    void animationRecordShown(int record);
    void thresholdChanged();
    void lowPassEdited();
    // Filters the trial as the low-pass box asks and draws the charts, the events and the
    // readout afresh.
    void rebuild();
    // The forces the curves, the readout, the events and the CSV use: filtered when the
    // low-pass box says so, else the trial as read.
    const ForceTable& shownForces() const;
    void showReadout(int record);
    void fillEvents(const std::vector<graphs::Contact>& contacts);
    void fitEvents();
    // The cursor goes to the record the animation shows.
    void followAnimation();
    void scheduleReload();
    // What the charts were last built from: the table's contents and the options.
    std::size_t tableSignature() const;

    SharedState& m_state;
    Platform& m_platform;
    QPointer<frmAnimForces> m_animation;
    QList<QMetaObject::Connection> m_links;
    bool m_reloadPending = false;
    std::size_t m_signature = 0;
    graphs::ViewOptions m_options;
    bool m_loaded = false;
    bool m_eventsSized = false; // the user moved the divider
    graphs::TimeAxis m_axis;
    std::optional<double> m_cutoff;        // the low-pass box's cut-off (Hz)
    std::unique_ptr<ForceTable> m_filtered; // the trial filtered at it, where it applies
};

// The one graph window: created at its first opening, given the current trial at every
// opening, and tied to the animation window whenever both are open.
void showGraphs(SharedState& state, Platform& platform);
frmGraphs* graphsWindow();
