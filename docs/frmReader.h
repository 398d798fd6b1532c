#pragma once

// The reader: the suite's PDF manuals shown inside the program, with a list of the
// manuals to pick from. It is created for each showing and destroyed when closed.

#include <QDateTime>
#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;
class QPdfDocument;
class QPdfView;
struct Platform;
struct SharedState;

class frmReader : public QWidget
{
    Q_OBJECT
public:
    frmReader(SharedState& state, Platform& platform, QWidget* parent = nullptr);
    ~frmReader() override;

    // Shows the window (or brings it forward), which shows ManualFile.
    void showManual();

    void Form_Load();
    void Form_Activate();
    void Form_Resize();
    void Form_Click();
    void filReader_Click();
    void cmdRead_Click();
    void cmdExit_Click();
    void lblReader_Click();

    // The document named (the manuals directory and file, in lower case).
    QString DocumentPath;

    QPushButton* cmdExit = nullptr;
    QPushButton* cmdRead = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lblReader = nullptr;
    QListWidget* filReader = nullptr;
    // The PDF control: the page view with the control's own notices over it.
    QWidget* pdfReader = nullptr;
    QLabel* lblNotice = nullptr;

    // The file on disk last loaded, and whether it showed.
    QString loadedFile() const { return m_loadedFile; }
    bool documentShown() const { return m_shown; }
    // Shows the PDF control's about box: what it is and which library draws the pages.
    void showControlAbout();

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refreshList();
    // Sets the control's document: loads it unless it is the one already shown.
    void setDocumentSource(const QString& documentPath, const QString& fileName);
    void showNotice(const QString& text);

    SharedState& m_state;
    Platform& m_platform;
    QPdfDocument* m_document = nullptr;
    QPdfView* m_view = nullptr;
    QString m_loadedFile;
    QDateTime m_loadedStamp;
    bool m_shown = false;
    bool m_warnedEmpty = false;
    bool m_inActivate = false;
};
