#include "docs/frmViewer.h"

#include "core/SharedState.h"
#include "platform/ArgumentText.h"
#include "platform/FileErrors.h"
#include "platform/Platform.h"
#include "platform/Twips.h"

#include <QAction>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace
{
const QString ViewerTitle = QStringLiteral("Text Viewer");
// The client area the window was drawn with, and the width it opens with.
constexpr QSize DesignClientTwips{9420, 6240};
constexpr int OpeningWidthTwips = 10500;
const QColor DesignBackground(224, 224, 224);
const QColor DesignForeground(0, 0, 0);

QFont viewerFont(int points)
{
    QFont font;
    // Courier New where it is installed, else a fixed-pitch font of the same build.
    font.setFamilies({"Courier New", "Liberation Mono", "DejaVu Sans Mono", "monospace"});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setBold(true);
    font.setPointSize(points);
    return font;
}
} // namespace

frmViewer::frmViewer(SharedState& state, Platform& platform, QWidget* parent)
    : QMainWindow(parent), m_state(state), m_platform(platform)
{
    setObjectName("frmViewer");
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(ViewerTitle);
    setAccessibleName(ViewerTitle);

    auto* client = new QWidget(this);
    client->setObjectName("client");
    setCentralWidget(client);
    client->installEventFilter(this);

    txtViewer = new QPlainTextEdit(client);
    txtViewer->setObjectName("txtViewer");
    txtViewer->setAccessibleName("File text");
    txtViewer->setReadOnly(true);
    txtViewer->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtViewer->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtViewer->setFrameShape(QFrame::NoFrame);
    placeTwips(txtViewer, 0, 0, 9375, 6135);
    setColours({DesignBackground, DesignForeground});

    mnuFile = menuBar()->addMenu("&File");
    mnuFile->setObjectName("mnuFile");
    mnuOpen = mnuFile->addAction("&Open");
    mnuOpen->setObjectName("mnuOpen");
    mnuExit = mnuFile->addAction("E&xit");
    mnuExit->setObjectName("mnuExit");
    connect(mnuOpen, &QAction::triggered, this, &frmViewer::mnuOpen_Click);
    connect(mnuExit, &QAction::triggered, this, &frmViewer::mnuExit_Click);

    mnuColour = menuBar()->addMenu("&Colours");
    mnuColour->setObjectName("mnuColour");
    const char* colourCaptions[] = {"&Background", "&Foreground", "&Reset"};
    for (int i = 0; i < 3; ++i) {
        mnuColours[i] = mnuColour->addAction(colourCaptions[i]);
        mnuColours[i]->setObjectName(QString("mnuColours%1").arg(i));
        connect(mnuColours[i], &QAction::triggered, this, [this, i] { mnuColours_Click(i); });
    }

    mnuFonts = menuBar()->addMenu("&Font");
    mnuFonts->setObjectName("mnuFonts");
    const char* sizeCaptions[] = {"&tiny", "&small", "&normal", "&large", "&very large", "default"};
    for (int i = 0; i < ViewerFontItems; ++i) {
        mnuFontSizesItem[i] = mnuFonts->addAction(sizeCaptions[i]);
        mnuFontSizesItem[i]->setObjectName(QString("mnuFontSizesItem%1").arg(i));
        mnuFontSizesItem[i]->setCheckable(i < 5);
        connect(mnuFontSizesItem[i], &QAction::triggered, this,
                [this, i] { mnuFontSizesItem_Click(i); });
    }

    Form_Load();
}

void frmViewer::Form_Load()
{
    txtViewer->setFont(viewerFont(10));
    mnuFontSizesItem[1]->setChecked(true);

    const QSize design = DesignClientTwips + ViewerFrameTwips;
    const QRect screen = m_platform.env.screenTwips();
    move(twipsToPixels(screen.x() + (screen.width() - design.width()) / 2),
         twipsToPixels(screen.y() + (screen.height() - design.height()) / 2));
    const int menuHeight = menuBar()->sizeHint().height();
    resize(twipsToPixels(OpeningWidthTwips - ViewerFrameTwips.width()),
           twipsToPixels(DesignClientTwips.height()) + menuHeight);
}

void frmViewer::showFile()
{
    show();
    raise();
    activateWindow();
    // Loaded here rather than on the activation that follows, which a window
    // system may not send when the viewer was the last active window before it hid.
    Form_Activate();
}

void frmViewer::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

bool frmViewer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        Form_Resize();
    return QMainWindow::eventFilter(watched, event);
}

void frmViewer::Form_Activate()
{
    // A message box of the viewer's own hands activation back when it closes; that
    // is no reason to load again.
    if (m_loading || !isVisible())
        return;
    loadFile();
}

void frmViewer::loadFile()
{
    m_loading = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{m_loading};

    const QString path = m_state.ViewerFile;
    if (path.isEmpty()) {
        showMessage(3);
        return;
    }
    setWindowTitle(ViewerTitle + ": " + path);

    const int error = m_platform.files.openError(path);
    if (error == FileError::FileAlreadyOpen) {
        showMessage(0);
        return;
    }
    QFile file(path);
    if (error != 0 || !QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        showMessage(1);
        return;
    }
    if (file.size() > ViewerMaxBytes) {
        handOver();
        return;
    }
    const QByteArray bytes = file.read(ViewerMaxBytes + 1);
    if (file.error() != QFileDevice::NoError || viewerFit(bytes) != ViewerFit::Fits) {
        handOver();
        return;
    }
    const QString text = viewerText(bytes);
    const bool sameFile = path == m_shownFile;
    if (sameFile && text == m_shownText)
        return; // unchanged since it was shown: keep the reader's place
    // A file changed on disk reloads at the same place; another file starts at the top.
    const int position = sameFile ? txtViewer->verticalScrollBar()->value() : 0;
    txtViewer->setPlainText(text);
    m_shownFile = path;
    m_shownText = text;
    txtViewer->verticalScrollBar()->setValue(position);
}

void frmViewer::handOver()
{
    hide();
    m_state.LastResult = static_cast<double>(
        m_platform.launcher.startCommandLine("notepad.exe", joinArguments({m_state.ViewerFile}),
                                             m_state.DataDir, WindowStyle::NormalFocus));
}

void frmViewer::showMessage(int code)
{
    struct Message {
        int code;
        const char* text;
        MessageIcon icon;
    };
    static constexpr Message messages[] = {
        {0, "Error trying to open file.  It may be already opened.", MessageIcon::Information},
        {1, "Error finding file.", MessageIcon::Exclamation},
        {3, "Error.  No filename was given.", MessageIcon::Information},
    };
    for (const Message& m : messages) {
        if (m.code == code)
            m_platform.dialogs.message(QString::fromLatin1(m.text), ViewerTitle, m.icon,
                                       MessageButtons::OK);
    }
    hide();
}

void frmViewer::Form_Resize()
{
    if (isMinimized())
        return;
    const QSize client(pixelsToTwips(centralWidget()->width()),
                       pixelsToTwips(centralWidget()->height()));
    const QSize last(pixelsToTwips(txtViewer->width()), pixelsToTwips(txtViewer->height()));
    const QSize box = viewerTextBoxTwips(client, last);
    placeTwips(txtViewer, 0, 0, box.width(), box.height());
}

void frmViewer::mnuOpen_Click()
{
    FileDialogRequest request;
    request.initialDir = m_state.DataDir;
    request.filter = "Text files (*.txt)|*.txt|Output files (*.out)|*.out|Listings "
                     "(*.lst)|*.lst|All files (*.*)|*.*";
    request.filterIndex = 1;
    const std::optional<QString> chosen = m_platform.dialogs.openFile(request);
    if (!chosen)
        return;
    m_state.ViewerFile = *chosen;
    loadFile();
}

void frmViewer::mnuExit_Click()
{
    hide();
    m_platform.files.setCurrentDir(m_state.DataDir);
}

ViewerColours frmViewer::colours() const
{
    const QPalette palette = txtViewer->palette();
    return {palette.color(QPalette::Base), palette.color(QPalette::Text)};
}

void frmViewer::setColours(const ViewerColours& colours)
{
    QPalette palette = txtViewer->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, colours.background);
        palette.setColor(group, QPalette::Text, colours.foreground);
    }
    txtViewer->setPalette(palette);
}

void frmViewer::mnuColours_Click(int index)
{
    const ViewerColours current = colours();
    std::optional<QColor> chosen;
    if (index == 0)
        chosen = m_platform.dialogs.colour(current.background);
    else if (index == 1)
        chosen = m_platform.dialogs.colour(current.foreground);
    setColours(viewerColourChoice(current, index, chosen));
}

void frmViewer::mnuFontSizesItem_Click(int index)
{
    for (int i = 0; i < 5; ++i)
        mnuFontSizesItem[i]->setChecked(false);
    txtViewer->setFont(viewerFont(viewerFontPoints(index)));
    mnuFontSizesItem[viewerCheckedFontItem(index)]->setChecked(true);
}
