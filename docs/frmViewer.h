#pragma once

// The text viewer: one text file in a text box, with menus to open another file,
// change the font size and the colours, and leave. Its commands only hide it, so its
// font and colours last from one showing to the next.

#include "docs/DocsRules.h"

#include <QMainWindow>
#include <array>

class QAction;
class QMenu;
class QPlainTextEdit;
struct Platform;
struct SharedState;

class frmViewer : public QMainWindow
{
    Q_OBJECT
public:
    frmViewer(SharedState& state, Platform& platform, QWidget* parent = nullptr);

    // Shows the window (or brings it forward) to show ViewerFile afresh.
    void showFile();

    void Form_Load();
    // Loads ViewerFile into the text box, each time the window becomes active.
    void Form_Activate();
    void Form_Resize();
    void mnuOpen_Click();
    void mnuExit_Click();
    void mnuColours_Click(int index);
    void mnuFontSizesItem_Click(int index);
    // Shows message `code` (0, 1 or 3) under the viewer's title, then hides the viewer.
    void showMessage(int code);

    ViewerColours colours() const;

    QPlainTextEdit* txtViewer = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* mnuOpen = nullptr;
    QAction* mnuExit = nullptr;
    QMenu* mnuColour = nullptr;
    std::array<QAction*, 3> mnuColours{};
    QMenu* mnuFonts = nullptr;
    std::array<QAction*, ViewerFontItems> mnuFontSizesItem{};

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadFile();
    void handOver();
    void setColours(const ViewerColours& colours);

    SharedState& m_state;
    Platform& m_platform;
    QString m_shownFile; // the file and text the box holds
    QString m_shownText;
    bool m_loading = false;
};
