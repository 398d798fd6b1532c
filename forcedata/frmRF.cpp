#include "forcedata/frmRF.h"

#include "core/Library.h"
#include "core/NumberText.h"
#include "core/SharedState.h"
#include "core/TextBytes.h"
#include "platform/AccessibleRole.h"
#include "platform/Controls.h"
#include "platform/Platform.h"
#include "platform/Twips.h"

#include <QEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>

#include <algorithm>

namespace
{
// Each heading stands over its own column and is aligned as the numbers under it: the
// seven ten-column fields right-aligned, the record number starting five blanks on.
const char* const Headings =
    "        Fx        Fy        Fz        Ax        Ay        Mz     Extra     Record";
// The seventh field, which the last header card may name afresh.
constexpr int SeventhFieldColumn = 60;
constexpr int FieldWidth = 10;

const char* const RatePattern = "####0.00";

// The client area the listing is laid out in, in twips.
constexpr int ClientWidth = 10815;
constexpr int ClientHeight = 4950;
constexpr int ListTop = 360;
constexpr int ListMargin = 900; // the window's height less the list's

// Judged by the glyphs themselves: some monospaced families do not say so.
bool isFixedPitch(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(u'0');
    return metrics.horizontalAdvance(u'i') == width && metrics.horizontalAdvance(u'W') == width &&
           metrics.horizontalAdvance(u' ') == width;
}

QFont fixedPitchFont()
{
    const QStringList families{QStringLiteral("Courier New"),
                               QFontDatabase::systemFont(QFontDatabase::FixedFont).family(),
                               QStringLiteral("Liberation Mono"),
                               QStringLiteral("DejaVu Sans Mono"),
                               QStringLiteral("Noto Sans Mono"),
                               QStringLiteral("monospace")};
    for (const QString& family : families) {
        QFont font(family);
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
        font.setPointSize(8);
        if (isFixedPitch(font))
            return font;
    }
    QFont font(families.first());
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(8);
    return font;
}

QLineEdit* makeBox(QWidget* parent, const QString& name, const QString& text, const QString& tip,
                   const QString& accessibleName, int l, int t, int w, int h)
{
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(name);
    box->setToolTip(tip);
    box->setReadOnly(true);
    box->setAccessibleName(accessibleName);
    box->setAccessibleDescription(tip);
    box->setCursorPosition(0);
    placeTwips(box, l, t, w, h);
    return box;
}
} // namespace

QString seventhColumnHeading(const ForceTable& table)
{
    // "Ay" over the seventh column means it holds the height of the centre of
    // pressure; the heading then says Az.
    const std::string& card = table.LastHeaderCard;
    std::string columns = card.size() > 60 ? card.substr(60, 10) : std::string();
    columns.erase(0, columns.find_first_not_of(' '));
    columns.erase(columns.find_last_not_of(' ') + 1);
    if (columns == "Ay")
        return QStringLiteral("   Az");
    return decodeText(QByteArray::fromStdString(table.extraColumnName()));
}

QStringList listingLines(const ForceTable& table)
{
    if (table.RecordCount < 1)
        return {QStringLiteral("Missing or undefined.")};
    const int count = std::min<int>(table.RecordCount, ForceTable::RecordCapacity);
    QStringList lines;
    lines.reserve(count);
    for (int i = 1; i <= count; ++i) {
        lines << FormatField(table.Fx[i]) + FormatField(table.Fy[i]) + FormatField(table.Fz[i]) +
                     FormatField(table.Ax[i]) + FormatField(table.Ay[i]) +
                     FormatField(table.Mz[i]) + FormatField(table.Extra[i]) +
                     QString::fromStdString(formatNumber(table.RecordNo[i], "     ####"));
    }
    return lines;
}

QString formatRate(const QString& text)
{
    bool isNumber = false;
    const double value = text.trimmed().toDouble(&isNumber);
    if (!isNumber)
        return text;
    return QString::fromStdString(formatNumber(value, RatePattern));
}

frmRF::frmRF(SharedState& state, Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state), m_platform(platform)
{
    setObjectName("frmRF");
    setWindowTitle("Raw Forces and Centres of Pressure");
    setAccessibleName(windowTitle());
    setAccessibleRole(this, AccessibleRole::Frame);
    setAttribute(Qt::WA_DeleteOnClose);
    resizeTwips(this, ClientWidth, ClientHeight);

    const QFont fixed = fixedPitchFont();

    lstRFforces = new QListWidget(this);
    lstRFforces->setObjectName("lstRFforces");
    lstRFforces->setFont(fixed);
    lstRFforces->setToolTip("List of external forces and points of application");
    lstRFforces->setAccessibleName("Raw forces");
    lstRFforces->setAccessibleDescription(lstRFforces->toolTip());
    lstRFforces->setUniformItemSizes(true);
    lstRFforces->setSelectionMode(QAbstractItemView::SingleSelection);
    placeTwips(lstRFforces, 1920, ListTop, 8775, 4470);

    // The headings ride on a strip over the list and follow its sideways scrolling,
    // so each stays over its column.
    m_headings = new QWidget(this);
    m_headings->setObjectName("headings");
    Label1 = new QLabel(QString::fromLatin1(Headings), m_headings);
    Label1->setObjectName("Label1");
    Label1->setFont(fixed);
    Label1->setAccessibleDescription("Column headings");
    Label4 = new QLabel("Extra", m_headings);
    Label4->setObjectName("Label4");
    Label4->setFont(fixed);
    Label4->setAccessibleDescription("Seventh column");
    Label4->setAutoFillBackground(true); // covers the heading it names afresh
    for (QLabel* label : {Label1, Label4})
        label->setTextFormat(Qt::PlainText);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Label4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    lblTrial = makeLabel(this, "lblTrial", "Filename:", 600, 360, 1095, 255);
    txtTrial =
        makeBox(this, "txtTrial", "trial", "Trial and filename", "Filename", 120, 600, 1695, 285);
    Label2 = makeLabel(this, "Label2", "Records:", 120, 960, 735, 255);
    txtNforces = makeBox(this, "txtNforces", "#records", "Number of external force records",
                         "Records", 960, 960, 855, 285);
    txtTitle = new QPlainTextEdit("Text1", this);
    txtTitle->setObjectName("txtTitle");
    txtTitle->setReadOnly(true);
    txtTitle->setToolTip("Title from data file");
    txtTitle->setAccessibleName("Title");
    txtTitle->setAccessibleDescription(txtTitle->toolTip());
    txtTitle->setTabChangesFocus(true);
    placeTwips(txtTitle, 120, 1320, 1695, 1005);
    lblForces = makeLabel(this, "lblForces", "Sampling rate (Hz):", 120, 2400, 975, 495);
    txtRate = makeBox(this, "txtRate", "sampling rate", "Sampling rate of forces (Hz per channel)",
                      "Sampling rate (Hz)", 1080, 2520, 735, 315);
    Label3 = makeLabel(this, "Label3", "Body weight (N):", 120, 2880, 975, 495);
    txtWeight = makeBox(this, "txtWeight", "body weight", "Body weght in newtons",
                        "Body weight (N)", 1080, 3000, 735, 315);
    lblTrial->setBuddy(txtTrial);
    Label2->setBuddy(txtNforces);
    lblForces->setBuddy(txtRate);
    Label3->setBuddy(txtWeight);

    cmdExit = new QPushButton("O&K", this);
    cmdExit->setObjectName("cmdExit");
    cmdExit->setToolTip("Click to exit form");
    cmdExit->setAccessibleDescription(cmdExit->toolTip());
    placeTwips(cmdExit, 120, 3480, 1215, 495);

    connect(lstRFforces, &QListWidget::itemClicked, this, &frmRF::lstRFforces_Click);
    lstRFforces->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lstRFforces, &QWidget::customContextMenuRequested, this, &frmRF::lstRFforces_ContextMenu);
    // The menu key of a keyboard without one, at the current line.
    auto* menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), lstRFforces, nullptr,
                                  nullptr, Qt::WidgetShortcut);
    connect(menuKey, &QShortcut::activated, this, [this] {
        const QListWidgetItem* item = lstRFforces->currentItem();
        lstRFforces_ContextMenu(item ? lstRFforces->visualItemRect(item).center() : QPoint(4, 4));
    });
    connect(cmdExit, &QPushButton::clicked, this, &frmRF::cmdExit_Click);
    connect(lstRFforces->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            &frmRF::placeHeadings);

    Form_Load();
    placeHeadings();
}

void frmRF::Form_Load()
{
    const ForceTable& table = m_state.forces;
    const QString heading = seventhColumnHeading(table);
    Label4->setText(heading);
    Label4->setToolTip(heading.trimmed());
    txtRate->setText(formatRate(QString::fromStdString(table.SamplingRate)));
    txtNforces->setText(QString::number(table.RecordCount));
    txtTitle->setPlainText(decodeText(QByteArray::fromStdString(table.TrialTitle)));
    txtTrial->setText(m_state.ForceFile);
    txtWeight->setText(QString::fromStdString(formatNumber(table.BodyWeight, RatePattern)));
    for (QLineEdit* box : {txtRate, txtNforces, txtTrial, txtWeight})
        box->setCursorPosition(0);

    lstRFforces->clear();
    lstRFforces->addItems(listingLines(table));
}

void frmRF::placeHeadings()
{
    // The strip spans the list; the headings start where the list's text starts.
    const QPoint origin = lstRFforces->viewport()->mapTo(this, QPoint(0, 0));
    const int textMargin =
        lstRFforces->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, lstRFforces) + 1;
    const QRect listArea = lstRFforces->geometry();
    m_headings->setGeometry(origin.x(), twipsToPixels(120), listArea.right() - origin.x(),
                            twipsToPixels(255));
    const int left = textMargin - lstRFforces->horizontalScrollBar()->value();
    const QFontMetrics metrics(Label1->font());
    const int height = m_headings->height();
    Label1->setGeometry(left, 0, metrics.horizontalAdvance(Label1->text()) + 2, height);
    // Over the seventh field, whatever the width of the font's characters.
    const QString field(SeventhFieldColumn + FieldWidth, u'0');
    const int column = metrics.horizontalAdvance(field.left(SeventhFieldColumn));
    const int end = metrics.horizontalAdvance(field);
    Label4->setGeometry(left + column, 0, end - column, height);
}

void frmRF::Form_Resize()
{
    if (isMinimized())
        return;
    const int heightTwips = pixelsToTwips(frameGeometry().height());
    lstRFforces->resize(lstRFforces->width(), twipsToPixels(std::max(0, heightTwips - ListMargin)));
}

void frmRF::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
    placeHeadings();
}

void frmRF::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The list lays out its frame and scroll bars only once it is shown.
    placeHeadings();
}

void frmRF::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        placeHeadings();
}

void frmRF::lstRFforces_Click()
{
    m_platform.dialogs.message("Force data cannot be edited", "External forces", MessageIcon::None,
                               MessageButtons::OK);
}

void frmRF::cmdExit_Click()
{
    hide();
}
