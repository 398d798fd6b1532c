#pragma once

// The raw listing: every record of the force table on its own line under column
// headings, beside the trial's file name, record count, title, rate and weight.
// Read-only; recreated for every view so it always shows the last read.

#include <QStringList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;
struct ForceTable;
struct Platform;
struct SharedState;

// Heading of the seventh column, from the last header card's columns 61-70.
QString seventhColumnHeading(const ForceTable& table);
// One line per record, or the single line for a table without records.
QStringList listingLines(const ForceTable& table);
// A number text kept by the table (a rate) in the pattern "####0.00"; text that is
// not a number is shown as it is.
QString formatRate(const QString& text);

class frmRF : public QWidget
{
    Q_OBJECT
public:
    frmRF(SharedState& state, Platform& platform, QWidget* parent = nullptr);

    void Form_Load();
    void Form_Resize();
    void lstRFforces_Click();
    void cmdExit_Click();
    // The list's context menu: the whole table as CSV (forcedata/ListingExport.cpp).
    void lstRFforces_ContextMenu(const QPoint& at);

    QLabel* Label1 = nullptr;
    QLabel* Label4 = nullptr;
    QListWidget* lstRFforces = nullptr;
    QLabel* lblTrial = nullptr;
    QLineEdit* txtTrial = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* txtNforces = nullptr;
    QPlainTextEdit* txtTitle = nullptr;
    QLabel* lblForces = nullptr;
    QLineEdit* txtRate = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* txtWeight = nullptr;
    QPushButton* cmdExit = nullptr;
    class QMenu* mnuListing = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void placeHeadings();

    SharedState& m_state;
    Platform& m_platform;
    QWidget* m_headings = nullptr;
};
