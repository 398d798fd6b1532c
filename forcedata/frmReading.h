#pragma once

// The small window shown while a force file is read: it names the file, counts the
// records as they come in and, when the read is over, offers to animate or close.

#include <QWidget>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
struct Platform;
struct SharedState;

class frmReading : public QWidget
{
    Q_OBJECT
public:
    frmReading(SharedState& state, Platform& platform, QWidget* parent = nullptr);

    void Form_Load();
    // The read is over: the count, "&Animate" and "&Done".
    void EndLoading();
    // One more record has been read. The count is redrawn at most about sixty times
    // a second: painting it 5000 times would cost more than the read itself.
    void showProgress(int recordCount);
    // Draws the last count given, whenever it was given.
    void drawProgress();

    void cmdCancel_Click();
    void cmdExit_Click();
    void cmdView_Click();

    QLabel* lblFilename = nullptr;
    QLineEdit* txtFilename = nullptr;
    QLabel* lblFiletype = nullptr;
    QLineEdit* txtFiletype = nullptr;
    QLabel* lblStatus = nullptr;
    QLineEdit* txtSample = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdView = nullptr;
    QPushButton* cmdExit = nullptr;
    QProgressBar* pbarLoading = nullptr;

signals:
    // "&Animate": the main window, which knows the animation, shows it.
    void animateRequested();

private:
    SharedState& m_state;
    Platform& m_platform;
    int m_count = -1; // the last count given; -1 before the first record
    double m_lastDrawn = -1;
};
