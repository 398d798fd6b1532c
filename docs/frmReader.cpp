#include "docs/frmReader.h"

#include "core/SharedState.h"
#include "docs/DocsRules.h"
#include "platform/AccessibleRole.h"
#include "platform/FileErrors.h"
#include "platform/Platform.h"
#include "platform/Twips.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#ifdef ORVANE_HAVE_QTPDF
#include <QPdfDocument>
#include <QPdfView>
#include <QtPdf/qtpdfversion.h>
#endif

namespace
{
constexpr QSize DesignClientTwips{9960, 5520};

#ifdef ORVANE_HAVE_QTPDF
QString pdfErrorText(QPdfDocument::Error error)
{
    switch (error) {
    case QPdfDocument::Error::FileNotFound:
        return "the file was not found";
    case QPdfDocument::Error::InvalidFileFormat:
        return "it is not a readable PDF file";
    case QPdfDocument::Error::IncorrectPassword:
        return "it is protected by a password";
    case QPdfDocument::Error::UnsupportedSecurityScheme:
        return "it is protected in a way the viewer does not support";
    default:
        return "the PDF library could not read it";
    }
}
#endif
} // namespace

frmReader::frmReader(SharedState& state, Platform& platform, QWidget* parent)
    : QWidget(parent), m_state(state), m_platform(platform)
{
    setObjectName("frmReader");
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("View Acrobat PDF Documents");
    setAccessibleName(windowTitle());
    setAccessibleRole(this, AccessibleRole::Frame);

    cmdExit = new QPushButton("E&xit", this);
    cmdExit->setObjectName("cmdExit");
    cmdExit->setToolTip("Click to exit form");
    placeTwips(cmdExit, 600, 120, 975, 615);
    cmdRead = new QPushButton("&Select a Document", this);
    cmdRead->setObjectName("cmdRead");
    cmdRead->setToolTip("Click to open a list of Acrobat documents");
    placeTwips(cmdRead, 1680, 120, 1455, 615);
    for (QPushButton* b : {cmdExit, cmdRead}) {
        b->setAccessibleName(b->text().remove(u'&'));
        b->setAccessibleDescription(b->toolTip());
    }
    // The caption needs two lines in a button of this width.
    cmdRead->setText(cmdRead->text().replace(" Document", "\nDocument"));

    Label1 = new QLabel(" Current       document:", this);
    Label1->setObjectName("Label1");
    Label1->setWordWrap(true);
    placeTwips(Label1, 3240, 120, 1215, 615);
    lblReader = new QLabel("Filename", this);
    lblReader->setObjectName("lblReader");
    lblReader->setAccessibleDescription("Current document");
    lblReader->setWordWrap(true);
    lblReader->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblReader->installEventFilter(this);
    Label1->setBuddy(lblReader);
    placeTwips(lblReader, 4440, 120, 5175, 615);

    pdfReader = new QWidget(this);
    pdfReader->setObjectName("pdfReader");
    pdfReader->setAccessibleName("Document pages");
    pdfReader->installEventFilter(this);
    auto* layout = new QVBoxLayout(pdfReader);
    layout->setContentsMargins(0, 0, 0, 0);
#ifdef ORVANE_HAVE_QTPDF
    m_document = new QPdfDocument(this);
    m_view = new QPdfView(pdfReader);
    m_view->setObjectName("pdfView");
    m_view->setAccessibleName("Document pages");
    m_view->setPageMode(QPdfView::PageMode::MultiPage);
    m_view->setZoomMode(QPdfView::ZoomMode::FitToWidth);
    m_view->setDocument(m_document);
    layout->addWidget(m_view);
#else
    layout->addStretch();
#endif
    lblNotice = new QLabel(pdfReader);
    lblNotice->setObjectName("lblNotice");
    lblNotice->setAccessibleDescription("Viewer notice");
    lblNotice->setWordWrap(true);
    lblNotice->setAlignment(Qt::AlignCenter);
    lblNotice->setAutoFillBackground(true);
    lblNotice->setFrameStyle(QFrame::Box | QFrame::Plain);
    lblNotice->setMargin(12);
    lblNotice->setToolTip("Click to close this notice.");
    lblNotice->installEventFilter(this);
    lblNotice->hide();
    placeTwips(pdfReader, 120, 840, 9615, 4575);

    filReader = new QListWidget(this);
    filReader->setObjectName("filReader");
    filReader->setAccessibleName("Documents");
    placeTwips(filReader, 1560, 720, 1695, 2235);
    filReader->hide();
    filReader->raise();

    connect(cmdExit, &QPushButton::clicked, this, &frmReader::cmdExit_Click);
    connect(cmdRead, &QPushButton::clicked, this, &frmReader::cmdRead_Click);
    connect(filReader, &QListWidget::itemClicked, this, &frmReader::filReader_Click);
    connect(filReader, &QListWidget::itemActivated, this, &frmReader::filReader_Click);

    resizeTwips(this, DesignClientTwips.width(), DesignClientTwips.height());
    // Opened in the middle of the screen, like the program's other windows.
    const QRect screen = m_platform.env.screenTwips();
    const QSize outer = DesignClientTwips + ClassicFrameTwips;
    move(twipsToPixels(screen.x() + (screen.width() - outer.width()) / 2),
         twipsToPixels(screen.y() + (screen.height() - outer.height()) / 2));
    Form_Load();
}

frmReader::~frmReader() = default;

void frmReader::Form_Load()
{
    refreshList();
}

void frmReader::refreshList()
{
    const QString current = filReader->currentItem() ? filReader->currentItem()->text() : QString();
    filReader->clear();
    // The pattern matches without regard to case, as the manuals' names may be written
    // either way.
    QDir dir(m_state.ManualsDir);
    const QStringList names = dir.entryList({"*.pdf"}, QDir::Files | QDir::Readable, QDir::Name);
    filReader->addItems(names);
    const QList<QListWidgetItem*> again = filReader->findItems(current, Qt::MatchExactly);
    if (!again.isEmpty())
        filReader->setCurrentItem(again.first());
}

void frmReader::showManual()
{
    show();
    raise();
    activateWindow();
    Form_Activate();
}

void frmReader::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void frmReader::Form_Activate()
{
    if (m_inActivate || !isVisible())
        return;
    m_inActivate = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{m_inActivate};

    if (filReader->count() == 0) {
        const QString notice = "No Acrobat documents were found in the directory, " + m_state.LF +
                               m_state.ManualsDir + ".";
        showNotice(notice);
        // Once per opening: the box closing activates the reader again.
        if (!m_warnedEmpty) {
            m_warnedEmpty = true;
            m_platform.dialogs.message(notice, {}, MessageIcon::Exclamation, MessageButtons::OK);
        }
        return;
    }
    m_warnedEmpty = false;
    if (!m_state.ManualFile.isEmpty()) {
        DocumentPath = readerDocumentPath(m_state.ManualsDir, m_state.ManualFile);
        lblReader->setText(readerLabel(DocumentPath));
        setDocumentSource(DocumentPath, m_state.ManualFile);
    } else {
        lblReader->setText("None selected");
        cmdRead->show();
        filReader->show();
        cmdRead_Click();
    }
}

void frmReader::setDocumentSource(const QString& documentPath, const QString& fileName)
{
    // The name is matched without regard to case, so the lower-case path still finds
    // a manual whose name on disk has capitals.
    const QString file = m_platform.files.resolve(m_state.ManualsDir, fileName);
    const QDateTime stamp = QFileInfo(file).lastModified();
    if (file == m_loadedFile && stamp == m_loadedStamp)
        return; // already showing (or already failed on) this very file
    m_loadedFile = file;
    m_loadedStamp = stamp;
    m_shown = false;
#ifdef ORVANE_HAVE_QTPDF
    m_document->close();
    const int error = m_platform.files.openError(file);
    if (error != 0) {
        showNotice("The document " + documentPath +
                   " cannot be opened: " + QString::fromStdString(fileErrorText(error)) + ".");
        return;
    }
    const QPdfDocument::Error loaded = m_document->load(file);
    if (loaded != QPdfDocument::Error::None) {
        showNotice("The document " + documentPath + " cannot be shown: " + pdfErrorText(loaded) +
                   ".");
        return;
    }
    m_shown = true;
    lblNotice->hide();
    pdfReader->show();
#else
    Q_UNUSED(documentPath);
    showNotice("This build of Orvane has no PDF viewer; the main window's Manual button "
               "opens the manual in the desktop's PDF program.");
#endif
}

void frmReader::showNotice(const QString& text)
{
    lblNotice->setText(text);
    lblNotice->adjustSize();
    const QSize area = pdfReader->size();
    const int width = std::min(area.width() - 20, std::max(lblNotice->sizeHint().width(), 360));
    lblNotice->setFixedWidth(std::max(width, 60));
    lblNotice->adjustSize();
    // Below the list of documents when that is open over the view.
    int top = std::max(10, (area.height() - lblNotice->height()) / 3);
    if (!filReader->isHidden())
        top = std::max(top, filReader->geometry().bottom() - pdfReader->y() + 10);
    lblNotice->move((area.width() - lblNotice->width()) / 2, top);
    lblNotice->show();
    lblNotice->raise();
}

void frmReader::showControlAbout()
{
#ifdef ORVANE_HAVE_QTPDF
    const QString library = QStringLiteral("Qt PDF " QTPDF_VERSION_STR ", pages drawn by PDFium");
#else
    const QString library = QStringLiteral("no PDF library in this build");
#endif
    showNotice("Orvane PDF view" + m_state.LF + library + m_state.LF + m_state.LF +
               "Pick a document from the list.");
}

void frmReader::filReader_Click()
{
    QListWidgetItem* item = filReader->currentItem();
    if (!item)
        return;
    const QString picked = item->text();
    DocumentPath = readerDocumentPath(m_state.ManualsDir, picked);
    lblReader->setText(readerLabel(DocumentPath));
    // The pick becomes the manual to show, so returning to the reader keeps it.
    m_state.ManualFile = picked;
    m_loadedFile.clear();
    setDocumentSource(DocumentPath, picked);
    filReader->hide();
    pdfReader->show();
}

void frmReader::cmdRead_Click()
{
    filReader->show();
    filReader->raise();
    showControlAbout();
    refreshList();
}

void frmReader::cmdExit_Click()
{
    close();
}

void frmReader::Form_Click()
{
    filReader->hide();
}

void frmReader::lblReader_Click()
{
    filReader->hide();
}

void frmReader::mousePressEvent(QMouseEvent* event)
{
    Form_Click();
    QWidget::mousePressEvent(event);
}

bool frmReader::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == lblReader)
            lblReader_Click();
        else if (watched == lblNotice)
            lblNotice->hide();
    } else if (watched == pdfReader && event->type() == QEvent::Resize && lblNotice->isVisible()) {
        showNotice(lblNotice->text());
    }
    return QWidget::eventFilter(watched, event);
}

void frmReader::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmReader::Form_Resize()
{
    if (isMinimized())
        return;
    const QSize client(pixelsToTwips(width()), pixelsToTwips(height()));
    const QRect last(0, 0, pixelsToTwips(pdfReader->width()), pixelsToTwips(pdfReader->height()));
    const QRect place = readerPdfTwips(client, last);
    placeTwips(pdfReader, place.left(), place.top(), place.width(), place.height());
}
