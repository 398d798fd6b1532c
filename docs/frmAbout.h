#pragma once

// The About box: the program's version and notice beside its icon, and on request a
// contact panel with a button that opens the program's web page. It also serves as
// the start-up splash.

#include <QWidget>

class QLabel;
class QPushButton;
struct Platform;
struct SharedState;

class frmAbout : public QWidget
{
    Q_OBJECT
public:
    frmAbout(SharedState& state, Platform& platform, QWidget* parent = nullptr);

    void Form_Load();
    // Each activation brings the box forward with its contact panel closed.
    void Form_Activate();
    void cmdAuthor_Click();
    void cmdWebsite_Click();
    void lblAbout_Click();
    void lblRook_Click();
    void picAbout_Click();
    void picRook_Click();

    // The contact text: Contact.txt from the program directory when there is one.
    QString contactText() const;
    // The window's height in twips with its frame, as the contact toggle counts it.
    int heightTwips() const;

    bool ContactShown = false;

    QLabel* lblAbout = nullptr;
    QLabel* picAbout = nullptr;
    QPushButton* cmdAuthor = nullptr;
    QLabel* lblRook = nullptr;
    QLabel* picRook = nullptr;
    QPushButton* cmdWebsite = nullptr;

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void setHeightTwips(int twips);

    SharedState& m_state;
    Platform& m_platform;
};
