#include "animation/graphs/frmGraphs.h"

#include "animation/AnimateForces.h"
#include "animation/frmAnimForces.h"
#include "animation/graphs/ChartView.h"
#include "animation/graphs/PictureExport.h"
#include "forcedata/ExportFile.h"
#include "main/Library.h"
#include "main/SharedState.h"
#include "platform/AccessibleRole.h"
#include "platform/Platform.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QRadioButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

using namespace graphs;

namespace
{
QString number(const std::optional<double>& v, int decimals)
{
    return v && std::isfinite(*v) ? QString::number(*v, 'f', decimals) : QStringLiteral("–");
}

QPointer<frmGraphs>& theWindow()
{
    static QPointer<frmGraphs> window;
    return window;
}
} // namespace

frmGraphs::frmGraphs(SharedState& state, Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state), m_platform(platform)
{
    setObjectName("frmGraphs");
    setWindowTitle(GraphsTitle);
    setAccessibleName(GraphsTitle);
    setAccessibleRole(this, AccessibleRole::Frame);

    lblFile = new QLabel(this);
    lblFile->setObjectName("lblFile");
    lblFile->setAccessibleDescription("File name");
    QFont bold = lblFile->font();
    bold.setBold(true);
    lblFile->setFont(bold);
    lblTitle = new QLabel(this);
    lblTitle->setObjectName("lblTitle");
    lblTitle->setAccessibleDescription("Title");
    lblTitle->setTextFormat(Qt::PlainText);

    chart = new ChartView(this);
    chart->setObjectName("chart");
    chart->setAccessibleName("Force graphs");
    chart->setAccessibleDescription(
        "Forces, centre of pressure and moment against time. Left and Right move the cursor "
        "by a record, Page Up and Page Down by a tenth, Home and End to the ends; Escape "
        "shows everything.");
    chart->setToolTip("Click to place the cursor, drag a band to zoom, Shift-drag to pan, "
                      "double-click to show everything");

    lblReadout = new QLabel(this);
    lblReadout->setObjectName("lblReadout");
    lblReadout->setAccessibleDescription("Readout");
    lblReadout->setTextFormat(Qt::PlainText);
    lblReadout->setWordWrap(true); // a narrow window breaks it between values
    lblReadout->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    lblReadout->setFocusPolicy(Qt::TabFocus);
    QFont fixed(QStringLiteral("monospace"));
    fixed.setStyleHint(QFont::TypeWriter);
    lblReadout->setFont(fixed);

    lblThreshold = new QLabel("Contact &threshold (N):", this);
    lblThreshold->setObjectName("lblThreshold");
    txtThreshold = new QDoubleSpinBox(this);
    txtThreshold->setObjectName("txtThreshold");
    txtThreshold->setAccessibleName("Contact threshold (N)");
    txtThreshold->setToolTip("Vertical force at which a contact begins and ends");
    txtThreshold->setRange(0, 1e6);
    txtThreshold->setDecimals(1);
    txtThreshold->setValue(DefaultThreshold);
    txtThreshold->setKeyboardTracking(false);
    lblThreshold->setBuddy(txtThreshold);

    tblEvents = new QTableWidget(this);
    tblEvents->setObjectName("tblEvents");
    tblEvents->setAccessibleName("Key events");
    tblEvents->setToolTip(
        "Contacts found at the threshold, with their peak, impulse and loading rate");
    tblEvents->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab and Ctrl+Tab go on to the next control, as Shift+Tab goes back; the arrow
    // keys move within the table.
    tblEvents->setTabKeyNavigation(false);
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), tblEvents, [this] { focusNextChild(); },
                  Qt::WidgetShortcut);
    tblEvents->verticalHeader()->hide();
    tblEvents->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tblEvents->setMaximumHeight(96);

    auto* thresholdRow = new QHBoxLayout;
    thresholdRow->addWidget(lblThreshold);
    thresholdRow->addWidget(txtThreshold);
    thresholdRow->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblFile);
    layout->addWidget(lblTitle);
    layout->addWidget(chart, 1);
    layout->addWidget(lblReadout);
    layout->addLayout(thresholdRow);
    layout->addWidget(tblEvents);

    mnuChart = new QMenu(this);
    mnuChart->setObjectName("mnuChart");
    QAction* picture = mnuChart->addAction(SavePictureCommand, this, &frmGraphs::savePicture);
    picture->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuChart->addAction(SaveCsvCommand, this, &frmGraphs::saveNumbers);
    mnuChart->addSeparator();
    mnuChart->addAction("Show &everything", chart, &ChartView::showEverything);
    chart->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(chart, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { mnuChart->popup(chart->mapToGlobal(at)); });
    auto* save = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this);
    connect(save, &QShortcut::activated, this, &frmGraphs::savePicture);
    auto* menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this,
            [this] { mnuChart->popup(chart->mapToGlobal(chart->rect().center())); });

    connect(chart, &ChartView::cursorMoved, this, &frmGraphs::cursorMoved);
    connect(txtThreshold, &QDoubleSpinBox::valueChanged, this, &frmGraphs::thresholdChanged);

    resize(900, 720);
    chart->setFocus();
    reload();
}

frmGraphs::~frmGraphs() = default;

frmAnimForces* frmGraphs::linkedAnimation() const
{
    return m_animation;
}

ViewOptions frmGraphs::viewOptions() const
{
    ViewOptions o;
    o.bodyWeight = m_state.forces.BodyWeight;
    const frmAnimForces* w = m_animation;
    if (!w || w->isUnloaded())
        return o;
    o.viewIndex = w->ViewIndex;
    for (int i = 0; i < 5; ++i) {
        if (w->optView[std::size_t(i)]->isChecked())
            o.viewIndex = std::min(i, 3);
    }
    o.horizForceSign = w->HorizForceSign;
    o.horizCentreSign = w->HorizCentreSign;
    o.vertForceSign = w->VertForceSign;
    o.vertCentreSign = w->VertCentreSign;
    o.azSign = w->AzSign;
    o.useAz = w->chkOptions[5]->isChecked();
    o.normalize = w->chkOptions[4]->isChecked();
    return o;
}

std::size_t frmGraphs::tableSignature() const
{
    const ForceTable& t = m_state.forces;
    const std::size_t n =
        std::size_t(std::clamp<int>(t.RecordCount, 0, ForceTable::RecordCapacity) + 1);
    std::size_t h = qHash(m_state.ForceFile);
    const auto mix = [&h](const void* data, std::size_t bytes) { h = qHashBits(data, bytes, h); };
    for (const auto* column : {&t.Fx, &t.Fy, &t.Fz, &t.Ax, &t.Ay, &t.Extra})
        mix(column->data(), n * sizeof(double));
    mix(t.Mz.data(), n * sizeof(float));
    mix(t.RecordNo.data(), n * sizeof(int16_t));
    mix(&t.RecordCount, sizeof t.RecordCount);
    mix(&t.BodyWeight, sizeof t.BodyWeight);
    for (const std::string* text : {&t.SamplingRate, &t.TrialTitle, &t.LastHeaderCard})
        mix(text->data(), text->size());
    return h;
}

void frmGraphs::reload()
{
    m_reloadPending = false;
    // Activation and the animation's option clicks ask often; most change nothing.
    const std::size_t signature = tableSignature();
    const ViewOptions options = viewOptions();
    if (m_loaded && signature == m_signature && options == m_options)
        return;
    m_loaded = true;
    m_signature = signature;
    m_options = options;
    const ForceTable& t = m_state.forces;
    const int count = std::clamp<int>(t.RecordCount, 0, ForceTable::RecordCapacity);
    m_axis = timeAxis(t);
    lblFile->setText(m_state.ForceFile.isEmpty() ? QStringLiteral("No file") : m_state.ForceFile);
    lblTitle->setText(QString::fromStdString(t.TrialTitle).trimmed());
    chart->setHeader(lblFile->text() + QStringLiteral("   ") + lblTitle->text());
    chart->setCharts(buildCharts(t, options), m_axis, count);
    thresholdChanged();
    showReadout(chart->cursorRecord());
}

void frmGraphs::thresholdChanged()
{
    const double threshold = txtThreshold->value();
    const std::vector<Contact> contacts = findContacts(m_state.forces, threshold);
    const ViewOptions o = viewOptions();
    const double scale = forcesInBodyWeights(o) ? 1.0 / double(o.bodyWeight) : 1.0;
    chart->setContacts(contacts, threshold * scale);
    fillEvents(contacts);
}

void frmGraphs::fillEvents(const std::vector<Contact>& contacts)
{
    const QString unit = m_axis.seconds ? QStringLiteral(" (s)") : QStringLiteral(" (record)");
    const QStringList headings{"Contact",          "Begins" + unit, "Ends" + unit,
                               "Contact time (s)", "Peak Fz (N)",   "Peak at" + unit,
                               "Peak (× BW)",      "Impulse (N·s)", "Loading rate (N/s)"};
    tblEvents->clear();
    tblEvents->setColumnCount(int(headings.size()));
    tblEvents->setHorizontalHeaderLabels(headings);
    tblEvents->setRowCount(contacts.empty() ? 1 : int(contacts.size()));
    if (contacts.empty()) {
        tblEvents->setItem(0, 0, new QTableWidgetItem("No contact at this threshold"));
        return;
    }
    const auto at = [this](int i) {
        return QString::number(m_axis.at(i), 'f', m_axis.seconds ? 3 : 0);
    };
    for (int row = 0; row < int(contacts.size()); ++row) {
        const Contact& c = contacts[std::size_t(row)];
        const QStringList cells{
            QString::number(row + 1),     at(c.first),          at(c.last),
            number(c.contactTime, 3),     number(c.peakFz, 1),  at(c.peak),
            number(c.peakBodyWeights, 2), number(c.impulse, 2), number(c.loadingRate, 0)};
        for (int col = 0; col < int(cells.size()); ++col)
            tblEvents->setItem(row, col, new QTableWidgetItem(cells[col]));
    }
}

void frmGraphs::showReadout(int record)
{
    const QString text = readoutText(m_state.forces, record);
    if (lblReadout->text() != text)
        lblReadout->setText(text);
}

void frmGraphs::cursorMoved(int record)
{
    showReadout(record);
    // A running pass owns the picture; a stopped one shows the record as a step would.
    if (m_animation && !m_animation->isUnloaded() && !m_animation->isBusy())
        m_animation->showRecord(record);
}

void frmGraphs::animationRecordShown(int record)
{
    chart->setCursorRecord(record);
    showReadout(chart->cursorRecord());
}

void frmGraphs::scheduleReload()
{
    if (m_reloadPending)
        return;
    m_reloadPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_reloadPending)
                reload();
        },
        Qt::QueuedConnection);
}

void frmGraphs::linkAnimation(frmAnimForces* w)
{
    if (w == m_animation)
        return;
    for (const QMetaObject::Connection& c : m_links)
        disconnect(c);
    m_links.clear();
    m_animation = w;
    if (!w)
        return;
    m_links << connect(w, &frmAnimForces::recordShown, this, &frmGraphs::animationRecordShown);
    // The option handlers run on the same clicks; the curves follow once they have.
    QList<QAbstractButton*> buttons{w->chkReverseAz};
    for (auto* b : w->optView)
        buttons << b;
    for (auto* b : w->optReverse)
        buttons << b;
    for (auto* b : w->chkOptions)
        buttons << b;
    for (QAbstractButton* b : buttons)
        m_links << connect(b, &QAbstractButton::toggled, this, &frmGraphs::scheduleReload);
    m_links << connect(w->txtWeight, &QLineEdit::textChanged, this, &frmGraphs::scheduleReload);
    scheduleReload();
}

void frmGraphs::savePicture()
{
    const QString base = m_state.ForceFile.isEmpty() ? QStringLiteral("graphs")
                                                     : GetBaseName(m_state.ForceFile) + "_graphs";
    savePictureAs(m_state, m_platform, base, chart->size(),
                  [this](QPainter& p, QSize size) { chart->render(p, size, true); });
}

void frmGraphs::saveNumbers()
{
    // The records in view, whole records only.
    const Range r = chart->range();
    const int first = std::max(1, int(std::ceil(r.first - 1e-9)));
    const int last = std::min(chart->recordCount(), int(std::floor(r.last + 1e-9)));
    saveNumbersAsCsv(m_state, m_platform, first, last);
}

bool frmGraphs::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate) {
        // The trial may have been read again, or the animation opened, meanwhile.
        if (frmAnimForces* w = animationWindow())
            linkAnimation(w);
        scheduleReload();
    }
    return QWidget::event(e);
}

frmGraphs* graphsWindow()
{
    return theWindow();
}

void showGraphs(SharedState& state, Platform& platform)
{
    frmGraphs* w = theWindow();
    if (!w) {
        w = new frmGraphs(state, platform);
        w->setAttribute(Qt::WA_QuitOnClose, false);
        // Closed, it is gone; the next Ctrl+G builds it afresh on the trial then read.
        w->setAttribute(Qt::WA_DeleteOnClose);
        theWindow() = w;
    }
    w->linkAnimation(animationWindow());
    w->reload();
    w->show();
    w->raise();
    w->activateWindow();
}
