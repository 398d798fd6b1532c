#include "docs/frmAbout.h"

#include "core/SharedState.h"
#include "core/WindowNotice.h"
#include "docs/DocsRules.h"
#include "platform/AccessibleRole.h"
#include "platform/Controls.h"
#include "platform/Platform.h"
#include "platform/Twips.h"

#include <QEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace
{
QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, const QString& tip,
                  int l, int t, int w, int h)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setToolTip(tip);
    label->setAccessibleDescription(tip);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placeTwips(label, l, t, w, h);
    return label;
}

// The contact picture: an installer's Contact.png, else the program's own icon.
QPixmap contactPicture(Platform& platform, const QString& programDir, QSize size)
{
    QPixmap picture;
    const QString file = platform.files.resolve(programDir, "Contact.png");
    if (platform.files.openError(file) != 0 || !picture.load(file))
        picture.load(":/orvane/orvane.png");
    if (picture.isNull())
        return picture;
    return picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}
} // namespace

frmAbout::frmAbout(SharedState& state, Platform& platform, QWidget* parent)
    : QWidget(parent), m_state(state), m_platform(platform)
{
    setObjectName("frmAbout");
    setWindowFlags(Qt::Dialog);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("About the Kinemora Motion Analysis System");
    setAccessibleName(windowTitle());
    setAccessibleRole(this, AccessibleRole::Dialog);
    QFont font;
    font.setFamilies({"Times New Roman", "Liberation Serif", "DejaVu Serif", "serif"});
    font.setStyleHint(QFont::Serif);
    font.setBold(true);
    font.setPointSize(9);
    setFont(font);

    lblAbout = makeLabel(this, "lblAbout", "  About Kinemora for Windows", QString(), 120, 120,
                         6735, 2175);
    lblAbout->setAccessibleDescription("About Orvane");
    // Long lines wrap short of the icon, which stands in the label's right edge.
    lblAbout->setWordWrap(true);
    lblAbout->setContentsMargins(0, 0, twipsToPixels(120 + 6735 - 6120), 0);
    picAbout = makeLabel(this, "picAbout", QString(), "Click to return to main window.", 6120, 1080,
                         510, 510);
    picAbout->setAccessibleName("Program icon");
    picAbout->setAlignment(Qt::AlignCenter);
    cmdAuthor = makeButton(this, "cmdAuthor", "&Contact",
                           "Click here for contact information and website.", 5400, 360, 1335, 492);
    lblRook = makeLabel(this, "lblRook", "Author information", "Contact information.", 120, 2400,
                        4575, 2775);
    lblRook->setAccessibleDescription("Contact information");
    lblRook->setTextInteractionFlags(Qt::NoTextInteraction);
    picRook = makeLabel(this, "picRook", QString(), "The author.", 4800, 2400, 2085, 2790);
    picRook->setAccessibleName("Contact picture");
    picRook->setAlignment(Qt::AlignCenter);
    picRook->setPixmap(contactPicture(m_platform, m_state.ProgramDir,
                                      twipsToPixels(QRect(0, 0, 2085, 2790)).size()));
    cmdWebsite = makeButton(this, "cmdWebsite", "&Website",
                            "Click here to access software website.", 3360, 4560, 1215, 495);
    // The buttons sit over the labels' empty corners.
    cmdAuthor->raise();
    picAbout->raise();
    cmdWebsite->raise();

    for (QLabel* label : {lblAbout, lblRook, picAbout, picRook})
        label->installEventFilter(this);
    connect(cmdAuthor, &QPushButton::clicked, this, &frmAbout::cmdAuthor_Click);
    connect(cmdWebsite, &QPushButton::clicked, this, &frmAbout::cmdWebsite_Click);

    resize(twipsToPixels(AboutClientWidth),
           twipsToPixels(AboutClosedHeight - ClassicFrameTwips.height()));
    Form_Load();
}

void frmAbout::Form_Load()
{
    const QRect screen = m_platform.env.screenTwips();
    const int widthTwips = AboutClientWidth + ClassicFrameTwips.width();
    move(twipsToPixels(screen.x() + (screen.width() - widthTwips) / 2),
         twipsToPixels(screen.y() + (screen.height() - AboutClosedHeight) / 2));
}

void frmAbout::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void frmAbout::Form_Activate()
{
    raise();
    setHeightTwips(AboutClosedHeight);
    picRook->hide();
    lblRook->hide();
    cmdWebsite->hide(); // out of view while closed; hidden so Tab does not reach it
    ContactShown = false;
    lblAbout->setText(m_state.AboutText);
    lblRook->setText(contactText());
}

QString frmAbout::contactText() const
{
    const QString file = m_platform.files.resolve(m_state.ProgramDir, "Contact.txt");
    if (m_platform.files.openError(file) == 0) {
        QFile contact(file);
        if (contact.open(QIODevice::ReadOnly))
            return contactTextFromFile(decodeText(contact.read(64 * 1024)), m_state.LF);
    }
    return defaultContactText(m_state.LF, m_state.WebPageAddress);
}

int frmAbout::heightTwips() const
{
    return pixelsToTwips(height()) + ClassicFrameTwips.height();
}

void frmAbout::setHeightTwips(int twips)
{
    resize(width(), twipsToPixels(twips - ClassicFrameTwips.height()));
}

void frmAbout::cmdAuthor_Click()
{
    if (ContactShown) {
        picRook->hide();
        lblRook->hide();
        cmdWebsite->hide();
        setHeightTwips(heightTwips() - AboutContactHeight);
    } else {
        setHeightTwips(heightTwips() + AboutContactHeight);
        picRook->show();
        lblRook->show();
        cmdWebsite->show();
    }
    ContactShown = !ContactShown;
}

void frmAbout::cmdWebsite_Click()
{
    const int result = m_platform.launcher.shellExecute(
        parentWidget(), "Open", m_state.WebPageAddress, QString(), QString(), WindowStyle::NormalFocus);
    m_state.LastResult = result;
    // Without a browser nothing would happen: the box says so, with the address to copy.
    if (result <= 32)
        showWindowNotice(this, "Could not start " + m_state.WebPageAddress);
}

void frmAbout::keyPressEvent(QKeyEvent* event)
{
    // Escape closes a dialog box.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmAbout::lblAbout_Click()
{
    close();
}

void frmAbout::lblRook_Click()
{
    close();
}

void frmAbout::picAbout_Click()
{
    close();
}

void frmAbout::picRook_Click()
{
    picRook->hide();
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        // Closing deletes the window, so nothing may touch it after the handler.
        if (watched == lblAbout)
            lblAbout_Click();
        else if (watched == lblRook)
            lblRook_Click();
        else if (watched == picAbout)
            picAbout_Click();
        else if (watched == picRook)
            picRook_Click();
        else
            return QWidget::eventFilter(watched, event);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
