#pragma once

// The Manuals and Help menus and the Guide and Manual buttons: the main window builds
// them into its menu bar; they open the manuals, the help texts and the reader.

#include <QPointer>
#include <array>

class MainWindowLink;
class QAction;
class QMenu;
class QPushButton;
class frmReader;
class frmViewer;

class DocsMenus
{
public:
    explicit DocsMenus(MainWindowLink& window);
    virtual ~DocsMenus() = default;

    // The menus and buttons the documents answer.
    struct MenuBar {
        QMenu* mnuManuals = nullptr;
        QMenu* mnuHelp = nullptr;
        QAction* mnuProgHelp = nullptr; // placed in the Help menu, run by the tool menus
        QAction* mnuAbout = nullptr;    // last item of the Help menu
        QPushButton* cmdGuide = nullptr;
        QPushButton* cmdManuals = nullptr;
    };
    void buildDocsMenus(const MenuBar& bar);

    std::array<QAction*, 9> mnuManual{};   // the Manuals menu's items
    std::array<QAction*, 3> mnuHelpItem{}; // the Help menu's help texts
    void mnuManuals_Click();               // the Manuals menu opens
    void mnuManual_Click(int index);
    void cmdManuals_Click();
    void cmdGuide_Click();
    void mnuHelp_Click(); // the Help menu opens
    void mnuHelpItem_Click(int index);
    QPointer<frmViewer> Viewer; // the text viewer while it is loaded
    QPointer<frmReader> Reader; // the PDF reader while it is open

private:
    MainWindowLink& m_window;
};
