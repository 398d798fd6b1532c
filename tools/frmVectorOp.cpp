#include "tools/frmVectorOp.h"

#include "core/Library.h"
#include "core/MainWindowLink.h"
#include "core/SharedState.h"
#include "platform/Platform.h"
#include "tools/Commands.h"
#include "tools/Launch.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QVBoxLayout>

namespace
{
constexpr const char* ViewTip = "Create and display selected force signature(s)";

// Draws a greyed check box as a dim tick rather than the style's "partly" mark, so the
// user sees the option as chosen.
class DimTickStyle : public QProxyStyle
{
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        if (element != PE_IndicatorCheckBox || !(option->state & State_NoChange)) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        QStyleOptionButton ticked;
        if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option))
            ticked = *button;
        else
            static_cast<QStyleOption&>(ticked) = *option;
        ticked.state &= ~(State_NoChange | State_Off);
        ticked.state |= State_On;
        painter->save();
        painter->setOpacity(0.45);
        QProxyStyle::drawPrimitive(element, &ticked, painter, widget);
        painter->restore();
    }
};

void describe(QWidget* widget, const QString& name, const QString& tip)
{
    widget->setObjectName(name);
    if (!tip.isEmpty()) {
        widget->setToolTip(tip);
        widget->setAccessibleDescription(tip);
    }
}
} // namespace

TriStateCheckBox::TriStateCheckBox(const QString& caption, QWidget* parent)
    : QCheckBox(caption, parent)
{
    setTristate(true);
}

int TriStateCheckBox::value() const
{
    switch (checkState()) {
    case Qt::Unchecked:
        return 0;
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    }
    return 0;
}

void TriStateCheckBox::setValue(int value)
{
    setCheckState(value == 0 ? Qt::Unchecked : value == 1 ? Qt::Checked : Qt::PartiallyChecked);
}

void TriStateCheckBox::nextCheckState()
{
    setCheckState(checkState() == Qt::Unchecked ? Qt::Checked : Qt::Unchecked);
}

frmVectorOp::frmVectorOp(SharedState& state, Platform& platform, MainWindowLink& mainWindow,
                         FilePanelsLink& panels)
    : QWidget(mainWindow.parentWindow(), Qt::Window), m_state(state), m_platform(platform),
      m_main(mainWindow), m_panels(panels)
{
    setObjectName("frmVectorOp");
    setWindowTitle("Force Vector Options");
    setAccessibleName(windowTitle());
    auto* dimTicks = new DimTickStyle;
    dimTicks->setParent(this);

    Label1 = new QLabel("Select Outline", this);
    describe(Label1, "Label1", "Select Your Force Plate Outline");
    fraPlate = new QGroupBox("Force Platform", this);
    describe(fraPlate, "fraPlate", {});
    optPlate[2] = new QRadioButton("&No outline", fraPlate);
    optPlate[0] = new QRadioButton("&Kistler plate (40x60 cm)", fraPlate);
    optPlate[1] = new QRadioButton("&AMTI plate (18.25x20 in.)", fraPlate);
    describe(optPlate[2], "optPlate2", "No force platform outline");
    describe(optPlate[0], "optPlate0", "Show Kistler force plate outline");
    describe(optPlate[1], "optPlate1", "Show AMTI force plate outline");

    Label2 = new QLabel("Select View", this);
    describe(Label2, "Label2", "Select Your View");
    fraView = new QGroupBox("Views", this);
    describe(fraView, "fraView", {});
    optView[0] = new QRadioButton("&Sagittal view only", fraView);
    optView[1] = new QRadioButton("All &2D views", fraView);
    optView[2] = new QRadioButton("&3D Vectors (Acrospin)", fraView);
    describe(optView[0], "optView0", "Show sagittal view only");
    describe(optView[1], "optView1", "Show three two-dimensional views");
    describe(optView[2], "optView2", "Display in three-dimensions with Acrospin");

    Label3 = new QLabel("Select Options", this);
    describe(Label3, "Label3", {});
    fraOptions = new QGroupBox("Options", this);
    describe(fraOptions, "fraOptions", {});
    struct Box {
        TriStateCheckBox** box;
        const char* name;
        const char* caption;
        const char* tip;
    };
    const Box boxes[] = {
        {&chkColour, "chkColour", "Use &Colours", "Use colours when graphing"},
        {&chkGraphics, "chkGraphics", "&Auto-select graphics device",
         "Select default graphics display (usually screen)"},
        {&chkAxes, "chkAxes", "Use &Default axes", "Use default axes and scaling"},
        {&chkFoot, "chkFoot", "Create  &Footprint",
         "Create and display a footprint. Does not apply to Sagittal view."},
        {&chkSkip, "chkSkip", "Use a &Skip factor", "Allow skipping of force records"},
        {&chkDirCorr, "chkDirCorr", "&No direction corrections",
         "Don't change force or centre of pressure directions"},
    };
    auto* optionsLayout = new QVBoxLayout(fraOptions);
    for (const Box& b : boxes) {
        *b.box = new TriStateCheckBox(b.caption, fraOptions);
        describe(*b.box, b.name, b.tip);
        (*b.box)->setStyle(dimTicks);
        optionsLayout->addWidget(*b.box);
    }

    cmdView = new QPushButton("&View", this);
    describe(cmdView, "cmdView", ViewTip);
    cmdDefaults = new QPushButton("&Defaults", this);
    describe(cmdDefaults, "cmdDefaults", ViewTip);
    cmdExit = new QPushButton("E&xit", this);
    describe(cmdExit, "cmdExit", "Click to exit form");

    auto* plateLayout = new QVBoxLayout(fraPlate);
    auto* viewLayout = new QVBoxLayout(fraView);
    m_plates = new QButtonGroup(this);
    m_views = new QButtonGroup(this);
    for (int i : {2, 0, 1}) {
        plateLayout->addWidget(optPlate[i]);
        m_plates->addButton(optPlate[i], i);
    }
    for (int i = 0; i < 3; ++i) {
        viewLayout->addWidget(optView[i]);
        m_views->addButton(optView[i], i);
    }
    plateLayout->addStretch();
    viewLayout->addStretch();
    optionsLayout->addStretch();

    auto* layout = new QGridLayout(this);
    layout->addWidget(Label1, 0, 0);
    layout->addWidget(Label2, 0, 1);
    layout->addWidget(Label3, 0, 2);
    layout->addWidget(fraPlate, 1, 0);
    layout->addWidget(fraView, 1, 1);
    layout->addWidget(fraOptions, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {cmdView, cmdDefaults, cmdExit}) {
        b->setMinimumWidth(90);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    layout->addLayout(buttons, 2, 0, 1, 3);
    cmdView->setDefault(true);

    connect(m_views, &QButtonGroup::idClicked, this, &frmVectorOp::optView_Click);
    connect(cmdView, &QPushButton::clicked, this, &frmVectorOp::cmdView_Click);
    connect(cmdDefaults, &QPushButton::clicked, this, &frmVectorOp::cmdDefaults_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmVectorOp::cmdExit_Click);

    Form_Activate();
}

void frmVectorOp::Form_Activate()
{
    chkColour->setValue(2);
    chkGraphics->setValue(2);
    chkAxes->setValue(2);
    chkFoot->setValue(0);
    chkDirCorr->setValue(0);
    chkSkip->setValue(0);
    optPlate[0]->setChecked(true);
    optView[1]->setChecked(true);
    // The keyboard starts on the chosen outline, not on the first button of its frame.
    if (QAbstractButton* plate = m_plates->checkedButton())
        plate->setFocus();
}

void frmVectorOp::cmdDefaults_Click()
{
    Form_Activate();
}

void frmVectorOp::optView_Click(int)
{
    chkFoot->setValue(footprintAfterView(m_views->checkedId(), chkFoot->value()));
}

SignatureChoice frmVectorOp::choice() const
{
    SignatureChoice c;
    c.plate = m_plates->checkedId();
    c.view = m_views->checkedId();
    c.foot = chkFoot->value();
    c.colour = chkColour->value();
    c.graphics = chkGraphics->value();
    c.axes = chkAxes->value();
    c.skip = chkSkip->value();
    c.dirCorr = chkDirCorr->value();
    return c;
}

void frmVectorOp::cmdView_Click()
{
    SharedState& s = m_state;
    const SignatureChoice c = choice();
    s.SigProgram = SignatureTool;
    s.SigCommand = toolPathFor(m_main, s.SigProgram);
    const ToolArguments arguments = signatureArguments(
        signatureSwitches(c), GetShortName(m_platform, fileOnDisk(m_main, s.ForceFile)));
    s.SigArguments = arguments.text;
    showCommand(m_main, s.SigCommand + s.SigArguments);
    const bool started = shellOpen(m_main, s.SigCommand, arguments.list);
    // A plot is offered only when the tool did start and draws one.
    if (started && c.view != 2) {
        const int answer = m_platform.dialogs.message(
            "After the program has finished execution click Yes to view the file labelled, "
            "'PREVIEW.PLT'." +
                s.LF + "from the 'Output files' listbox.",
            {}, MessageIcon::Question, MessageButtons::YesNo);
        s.LastResult = answer;
        if (answer == AnswerYes)
            startProgram(m_main, toolPathFor(m_main, plotPrinterTool(s.PlotPrinter)),
                         fileArguments(fileOnDisk(m_main, PlotFile)).list);
    }
    refreshList(m_panels, m_panels.filePanels().filOutputs);
}

void frmVectorOp::cmdExit_Click()
{
    hide();
    QWidget* main = m_main.parentWindow();
    main->show();
    main->raise();
    main->activateWindow();
}

void frmVectorOp::Form_Unload()
{
    hide();
}

bool frmVectorOp::event(QEvent* e)
{
    // The defaults greet the user on every return to this window. They are set as the
    // window is left, so the click that brings it back is never undone by them; leaving
    // for one of its own boxes is no leaving.
    if (e->type() == QEvent::WindowDeactivate && !QApplication::activeModalWidget())
        Form_Activate();
    return QWidget::event(e);
}

void frmVectorOp::closeEvent(QCloseEvent* e)
{
    // The window is only ever hidden: it is made again from its defaults next time.
    Form_Unload();
    e->ignore();
}
