#include "animation/graphs/frmGraphs.h"

#include "animation/AnimateForces.h"
#include "animation/frmAnimForces.h"
#include "animation/graphs/ChartView.h"
#include "animation/graphs/PictureExport.h"
#include "core/Library.h"
#include "core/SharedState.h"
#include "forcedata/ExportFile.h"
#include "forcedata/LowPass.h"
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
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QTableWidget>
#include <QToolTip>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

using namespace graphs;

namespace
{
QString number(const std::optional<double>& v, int decimals)
{
    return v ? cellNumber(*v, decimals) : QStringLiteral("–");
}

constexpr const char* LowPassTip =
    "Cut-off of a zero-lag, second-order Butterworth low-pass filter on Fx, Fy, Fz and Mz "
    "(the centre of pressure stays as read); empty for none";

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
        "by a record, Page Up and Page Down by a tenth, Home and End to the ends; Plus and "
        "Minus zoom around the cursor, Shift+Left and Shift+Right pan; 0 or Escape shows "
        "everything.");
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
    txtThreshold->setToolTip("Vertical force at which a contact begins and ends (above 0 N)");
    // A threshold of 0 would make the whole trial, or nothing, one contact.
    txtThreshold->setRange(0.1, 1e6);
    txtThreshold->setDecimals(1);
    txtThreshold->setValue(DefaultThreshold);
    txtThreshold->setKeyboardTracking(false);
    lblThreshold->setBuddy(txtThreshold);

    lblLowPass = new QLabel("&Low-pass (Hz):", this);
    lblLowPass->setObjectName("lblLowPass");
    txtLowPass = new QLineEdit(this);
    txtLowPass->setObjectName("txtLowPass");
    txtLowPass->setAccessibleName("Low-pass (Hz)");
    txtLowPass->setToolTip(LowPassTip);
    txtLowPass->setPlaceholderText("none");
    txtLowPass->setMaximumWidth(90);
    lblLowPass->setBuddy(txtLowPass);

    lblLoadedSign = new QLabel(
        "Fz is negative under load on this plate: contacts, peaks and rates are of −Fz.", this);
    lblLoadedSign->setObjectName("lblLoadedSign");
    lblLoadedSign->setAccessibleDescription("Loaded sign");
    lblLoadedSign->hide();

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

    splEvents = new QSplitter(Qt::Vertical, this);
    splEvents->setObjectName("splEvents");
    splEvents->setAccessibleName("Divider between the charts and the key events");
    splEvents->setChildrenCollapsible(false);
    auto* chartPane = new QWidget(splEvents);
    auto* chartLayout = new QVBoxLayout(chartPane);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    chartLayout->addWidget(chart, 1);
    chartLayout->addWidget(lblReadout);
    auto* eventsPane = new QWidget(splEvents);
    auto* eventsLayout = new QVBoxLayout(eventsPane);
    eventsLayout->setContentsMargins(0, 0, 0, 0);
    auto* thresholdRow = new QHBoxLayout;
    thresholdRow->addWidget(lblThreshold);
    thresholdRow->addWidget(txtThreshold);
    thresholdRow->addSpacing(16);
    thresholdRow->addWidget(lblLowPass);
    thresholdRow->addWidget(txtLowPass);
    thresholdRow->addStretch(1);
    eventsLayout->addLayout(thresholdRow);
    eventsLayout->addWidget(lblLoadedSign);
    eventsLayout->addWidget(tblEvents, 1);
    splEvents->addWidget(chartPane);
    splEvents->addWidget(eventsPane);
    splEvents->setStretchFactor(0, 1);
    splEvents->setStretchFactor(1, 0);
    connect(splEvents, &QSplitter::splitterMoved, this, [this] { m_eventsSized = true; });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblFile);
    layout->addWidget(lblTitle);
    layout->addWidget(splEvents, 1);
    setTabOrder(txtThreshold, txtLowPass);
    setTabOrder(txtLowPass, tblEvents);

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
    connect(txtLowPass, &QLineEdit::editingFinished, this, &frmGraphs::lowPassEdited);

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
    m_axis = timeAxis(t);
    lblFile->setText(m_state.ForceFile.isEmpty() ? QStringLiteral("No file") : m_state.ForceFile);
    lblTitle->setText(QString::fromStdString(t.TrialTitle).trimmed());
    chart->setHeader(lblFile->text() + QStringLiteral("   ") + lblTitle->text());
    rebuild();
}

const ForceTable& frmGraphs::shownForces() const
{
    return m_filtered ? *m_filtered : m_state.forces;
}

void frmGraphs::rebuild()
{
    const ForceTable& raw = m_state.forces;
    m_filtered.reset();
    // Whether this trial can be filtered at all (a rate, enough records), whatever the
    // cut-off: where it cannot, the box is greyed and says why.
    const auto trialProblem = forcedata::lowPassProblem(raw, std::numeric_limits<double>::min());
    std::optional<std::string> problem = trialProblem;
    if (!problem && m_cutoff) {
        problem = forcedata::lowPassProblem(raw, *m_cutoff);
        if (!problem) {
            m_filtered = std::make_unique<ForceTable>(raw);
            forcedata::lowPassForces(*m_filtered, *m_cutoff);
        }
    }
    txtLowPass->setEnabled(!trialProblem);
    txtLowPass->setToolTip(problem ? "The low-pass filter cannot apply: " +
                                         QString::fromStdString(*problem)
                                   : QString(LowPassTip));

    const int count = std::clamp<int>(raw.RecordCount, 0, ForceTable::RecordCapacity);
    std::array<Chart, 3> charts = buildCharts(shownForces(), m_options);
    if (m_filtered) {
        // The forces and the moment are filtered: their raw curves stay visible behind,
        // and the titles name the filter, in pictures too.
        const std::array<Chart, 3> rawCharts = buildCharts(raw, m_options);
        const QString filter = QString::fromStdString(forcedata::lowPassTitle(*m_cutoff));
        charts[0].raw = rawCharts[0].curves;
        charts[2].raw = {rawCharts[2].curves.front()}; // Mz; the seventh column is as read
        for (const int k : {0, 2})
            charts[std::size_t(k)].title += QStringLiteral(", ") + filter;
    }
    const bool fresh = count != chart->recordCount();
    chart->setCharts(std::move(charts), m_axis, count);
    if (fresh)
        followAnimation();
    thresholdChanged();
    showReadout(chart->cursorRecord());
}

void frmGraphs::lowPassEdited()
{
    const QString text = txtLowPass->text().trimmed();
    std::optional<double> cutoff;
    if (!text.isEmpty()) {
        bool ok = false;
        const double fc = QLocale::c().toDouble(text, &ok);
        std::optional<std::string> problem =
            forcedata::cutoffProblem(ok ? fc : std::numeric_limits<double>::quiet_NaN());
        if (!problem)
            problem = forcedata::lowPassProblem(m_state.forces, fc);
        if (problem) {
            // Refused: the box goes back to the cut-off in use and says why.
            txtLowPass->setText(m_cutoff ? QString::number(*m_cutoff) : QString());
            QToolTip::showText(txtLowPass->mapToGlobal(QPoint(0, txtLowPass->height())),
                               QString::fromStdString(*problem), txtLowPass);
            return;
        }
        cutoff = fc;
    }
    if (cutoff == m_cutoff)
        return;
    m_cutoff = cutoff;
    rebuild();
}

void frmGraphs::thresholdChanged()
{
    const double threshold = txtThreshold->value();
    const ForceTable& t = shownForces();
    const std::vector<Contact> contacts = findContacts(t, threshold);
    const int sign = forcedata::loadedSign(t);
    const ViewOptions o = viewOptions();
    const double scale = forcesInBodyWeights(o) ? 1.0 / double(o.bodyWeight) : 1.0;
    // The Fz curve is drawn as recorded, so on a plate loaded negative the line is below 0.
    chart->setContacts(contacts, sign * threshold * scale);
    lblLoadedSign->setVisible(sign < 0);
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
        fitEvents();
        return;
    }
    const auto at = [this](int i) { return cellNumber(m_axis.at(i), m_axis.seconds ? 3 : 0); };
    for (int row = 0; row < int(contacts.size()); ++row) {
        const Contact& c = contacts[std::size_t(row)];
        // A contact under way at the first or the last record has no known length or
        // loading: those cells stay empty, and the contact says it is cut.
        const forcedata::Contact& k = c.contact;
        const QString cut = k.cutAtStart && k.cutAtEnd ? QStringLiteral(" (cut at both ends)")
                            : k.cutAtStart             ? QStringLiteral(" (cut at start)")
                            : k.cutAtEnd               ? QStringLiteral(" (cut at end)")
                                                       : QString();
        const auto unlessCut = [&](const std::optional<double>& v, int decimals) {
            return k.cut() ? QString() : number(v, decimals);
        };
        const QStringList cells{QString::number(c.number) + cut,
                                at(k.first),
                                at(k.last),
                                unlessCut(c.contactTime, 3),
                                number(c.peakFz, 1),
                                at(c.peak),
                                number(c.peakFzBw, 2),
                                number(c.impulseFz, 2),
                                unlessCut(c.loadingRate, 0)};
        for (int col = 0; col < int(cells.size()); ++col)
            tblEvents->setItem(row, col, new QTableWidgetItem(cells[col]));
    }
    fitEvents();
}

void frmGraphs::fitEvents()
{
    if (m_eventsSized)
        return;
    // Every row up to six, then the table scrolls; the charts keep the rest.
    tblEvents->resizeColumnsToContents();
    const int rows = std::clamp(tblEvents->rowCount(), 1, 6);
    int height = tblEvents->horizontalHeader()->sizeHint().height() + 2 * tblEvents->frameWidth();
    for (int r = 0; r < rows; ++r)
        height += tblEvents->rowHeight(r);
    int columns = 0;
    for (int c = 0; c < tblEvents->columnCount(); ++c)
        columns += tblEvents->columnWidth(c);
    if (columns + 2 * tblEvents->frameWidth() > tblEvents->width())
        height += tblEvents->horizontalScrollBar()->sizeHint().height();
    const QWidget* pane = splEvents->widget(1);
    const int wanted = height + (pane->height() - tblEvents->height());
    const int total = splEvents->height();
    if (total > wanted)
        splEvents->setSizes({total - wanted, wanted});
}

void frmGraphs::showReadout(int record)
{
    const QString text = readoutText(shownForces(), record);
    if (lblReadout->text() != text)
        lblReadout->setText(text);
    chart->setSpokenValue(text);
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

void frmGraphs::followAnimation()
{
    if (!m_animation || m_animation->isUnloaded())
        return;
    bool ok = false;
    const int shown = m_animation->txtFrame->text().toInt(&ok);
    if (ok && shown >= 1) {
        chart->setCursorRecord(shown);
        // The record in view, the range as it was where it already is.
        const Range r = chart->range();
        if (shown < r.first || shown > r.last)
            chart->setRange(panned(r, shown - 0.5 * (r.first + r.last), chart->recordCount()));
        showReadout(chart->cursorRecord());
    }
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
    followAnimation();
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
    if (m_filtered)
        saveNumbersAsCsv(m_state, m_platform, first, last, m_filtered.get(),
                         forcedata::lowPassCsvComment(*m_cutoff));
    else
        saveNumbersAsCsv(m_state, m_platform, first, last);
}

bool frmGraphs::event(QEvent* e)
{
    if (e->type() == QEvent::Resize || e->type() == QEvent::Show) {
        const bool handled = QWidget::event(e);
        fitEvents();
        return handled;
    }
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
