#include "animation/compare/frmCompare.h"
#include "animation/compare/frmCompareTrial.h"

#include "animation/compare/CompareChart.h"
#include "core/SharedState.h"
#include "forcedata/LowPass.h"
#include "forcedata/RfReader.h"
#include "platform/AccessibleRole.h"
#include "platform/Platform.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <array>
#include <cmath>

using namespace compare;

namespace
{
constexpr const char* SettingsApp = "Orvane";
constexpr const char* SettingsSection = "Compare Trials";
constexpr const char* AddFilesCommand = "Add files…";
constexpr int ColTrial = 0, ColGroup = 1, ColNote = 2;

QString withoutMnemonic(QString text)
{
    return text.remove(u'&');
}

QPointer<frmCompare>& theWindow()
{
    static QPointer<frmCompare> window;
    return window;
}
} // namespace

frmCompare::frmCompare(SharedState& state, Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state), m_platform(platform)
{
    setObjectName("frmCompare");
    setWindowTitle(CompareTitle);
    setAccessibleName(CompareTitle);
    // A window of its own, as screen readers announce the graph window.
    setAccessibleRole(this, AccessibleRole::Frame);

    lblTrials = new QLabel("T&rials:", this);
    lstTrials = new QTreeWidget(this);
    lstTrials->setObjectName("lstTrials");
    lstTrials->setAccessibleName("Trials");
    lstTrials->setAccessibleDescription(
        "Force files; Space checks a trial for the chart and the table, A, B and N put it into "
        "group A, group B or none");
    lstTrials->setHeaderLabels({"Trial", "Group", "Note"});
    lstTrials->setRootIsDecorated(false);
    lstTrials->setUniformRowHeights(true);
    lstTrials->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstTrials->header()->setStretchLastSection(true);
    // A trial from another folder is named by its path; its end tells it apart.
    lstTrials->setTextElideMode(Qt::ElideLeft);
    lblTrials->setBuddy(lstTrials);

    lblFilter = new QLabel("&Filter:", this);
    txtFilter = new QLineEdit(this);
    txtFilter->setObjectName("txtFilter");
    txtFilter->setAccessibleName("Filter");
    txtFilter->setPlaceholderText("WALK*");
    txtFilter->setToolTip("Shows only the names that match: * any run of characters, ? one");
    lblFilter->setBuddy(txtFilter);

    const auto button = [this](const char* name, const QString& caption, const QString& tip) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAccessibleName(withoutMnemonic(caption));
        b->setToolTip(tip);
        return b;
    };
    cmdAddFiles = button("cmdAddFiles", "A&dd files…", "Adds trials from other folders");
    cmdGroupA = button("cmdGroupA", "Group &A", "Puts the selected trials into group A");
    cmdGroupB = button("cmdGroupB", "Group &B", "Puts the selected trials into group B");
    cmdNoGroup = button("cmdNoGroup", "&No group", "Takes the selected trials out of their group");

    lblQuantity = new QLabel("&Quantity:", this);
    cboQuantity = new QComboBox(this);
    cboQuantity->setObjectName("cboQuantity");
    cboQuantity->setAccessibleName("Quantity");
    for (int c = 0; c < ChannelCount; ++c)
        cboQuantity->addItem(channelName(Channel(c)));
    cboQuantity->setCurrentIndex(int(Channel::Fz));
    lblQuantity->setBuddy(cboQuantity);
    optNormalised = new QRadioButton("N&ormalised, 0-100 % of contact", this);
    optNormalised->setObjectName("optNormalised");
    optSeconds = new QRadioButton("&Seconds from contact start", this);
    optSeconds->setObjectName("optSeconds");
    optNormalised->setChecked(true);
    chkBodyWeights = new QCheckBox("&Multiples of body weight", this);
    chkBodyWeights->setObjectName("chkBodyWeights");
    chkIndividual = new QCheckBox("Show &individual curves", this);
    chkIndividual->setObjectName("chkIndividual");
    chkIndividual->setChecked(true);
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
             optNormalised, optSeconds, chkBodyWeights, chkIndividual})
        b->setAccessibleName(withoutMnemonic(b->text()));

    lblThreshold = new QLabel("Contact t&hreshold (N):", this);
    txtThreshold = new QDoubleSpinBox(this);
    txtThreshold->setObjectName("txtThreshold");
    txtThreshold->setAccessibleName("Contact threshold (N)");
    txtThreshold->setToolTip("Vertical force at which a contact begins and ends");
    txtThreshold->setRange(0.1, 1e6);
    txtThreshold->setDecimals(1);
    txtThreshold->setValue(forcedata::DefaultThreshold);
    txtThreshold->setKeyboardTracking(false);
    lblThreshold->setBuddy(txtThreshold);

    lblLowPass = new QLabel("&Low-pass (Hz):", this);
    txtLowPass = new QLineEdit(this);
    txtLowPass->setObjectName("txtLowPass");
    txtLowPass->setAccessibleName("Low-pass (Hz)");
    txtLowPass->setToolTip("Cut-off of a zero-lag 2nd-order Butterworth filter over Fx, Fy, Fz "
                           "and Mz of every trial; empty for none");
    txtLowPass->setMaximumWidth(80);
    lblLowPass->setBuddy(txtLowPass);

    chart = new CompareChart(this);
    chart->setObjectName("chart");
    chart->setAccessibleName("Curves of the checked trials");
    chart->setAccessibleDescription("Up and Down step through the curves, Escape lets go");
    chart->setToolTip(QString());
    lblCurve = new QLabel(this);
    lblCurve->setObjectName("lblCurve");
    lblCurve->setAccessibleName("Curve");
    lblCurve->setAccessibleDescription("Curve");
    lblCurve->setTextFormat(Qt::PlainText);

    chkAllContacts = new QCheckBox("All &contacts in the table", this);
    chkAllContacts->setObjectName("chkAllContacts");
    chkAllContacts->setAccessibleName("All contacts in the table");
    tblNumbers = new QTableWidget(this);
    tblNumbers->setObjectName("tblNumbers");
    tblNumbers->setAccessibleName("Numbers");
    tblNumbers->setToolTip("One row per checked trial and contact; each group's mean and SD "
                           "of the first contacts");
    tblNumbers->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblNumbers->verticalHeader()->hide();
    tblNumbers->setTextElideMode(Qt::ElideLeft);
    tblNumbers->verticalHeader()->setDefaultSectionSize(tblNumbers->fontMetrics().height() + 6);
    tblNumbers->horizontalHeader()->setDefaultSectionSize(90);

    cmdSaveTable = button("cmdSaveTable", "Save &table as CSV…",
                          "Writes the table as rfstats writes it, with the groups' rows");
    cmdSaveCurves = button("cmdSaveCurves", "Save c&urves as CSV…",
                           "Writes the curves on 101 points, each group's mean and SD");
    cmdSavePicture =
        button("cmdSavePicture", "Save &picture as …", "Writes the chart as PNG or SVG");

    // The trials on the left, the chart and the table on the right.
    auto* left = new QWidget(this);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(lblFilter);
    filterRow->addWidget(txtFilter, 1);
    leftLayout->addLayout(filterRow);
    leftLayout->addWidget(lblTrials);
    leftLayout->addWidget(lstTrials, 1);
    auto* groupRow = new QHBoxLayout;
    groupRow->addWidget(cmdGroupA);
    groupRow->addWidget(cmdGroupB);
    groupRow->addWidget(cmdNoGroup);
    leftLayout->addLayout(groupRow);
    leftLayout->addWidget(cmdAddFiles);

    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    auto* options = new QGridLayout;
    options->addWidget(lblQuantity, 0, 0);
    options->addWidget(cboQuantity, 0, 1);
    options->addWidget(optNormalised, 0, 2);
    options->addWidget(optSeconds, 0, 3);
    options->addWidget(chkBodyWeights, 1, 2);
    options->addWidget(chkIndividual, 1, 3);
    options->addWidget(lblThreshold, 2, 0);
    options->addWidget(txtThreshold, 2, 1);
    options->addWidget(lblLowPass, 1, 0);
    options->addWidget(txtLowPass, 1, 1);
    options->setColumnStretch(4, 1);
    rightLayout->addLayout(options);
    rightLayout->addWidget(chart, 3);
    rightLayout->addWidget(lblCurve);
    rightLayout->addWidget(chkAllContacts);
    rightLayout->addWidget(tblNumbers, 2);
    auto* saveRow = new QHBoxLayout;
    saveRow->addWidget(cmdSaveTable);
    saveRow->addWidget(cmdSaveCurves);
    saveRow->addWidget(cmdSavePicture);
    saveRow->addStretch(1);
    rightLayout->addLayout(saveRow);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(left);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({300, 800});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);

    setTabOrder(txtFilter, lstTrials);
    setTabOrder(lstTrials, cmdGroupA);
    setTabOrder(cmdGroupA, cmdGroupB);
    setTabOrder(cmdGroupB, cmdNoGroup);
    setTabOrder(cmdNoGroup, cmdAddFiles);
    setTabOrder(cmdAddFiles, cboQuantity);

    connect(txtFilter, &QLineEdit::textChanged, this, &frmCompare::applyFilter);
    connect(lstTrials, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (m_filling || column != ColTrial)
            return;
        refresh();
        showRowNote(item);
    });
    connect(cmdAddFiles, &QPushButton::clicked, this, [this] {
        FileDialogRequest request;
        request.title = withoutMnemonic(AddFilesCommand).remove(u'…');
        request.initialDir = m_dir;
        request.filter =
            "Force files (*.rf *.RF *.rrf *.orf)|*.rf;*.RF;*.rrf;*.orf|All files (*)|*";
        request.overwritePrompt = false;
        if (const std::optional<QString> path = m_platform.dialogs.openFile(request))
            addFiles({*path});
    });
    connect(cmdGroupA, &QPushButton::clicked, this, [this] { groupChosen(Group::A); });
    connect(cmdGroupB, &QPushButton::clicked, this, [this] { groupChosen(Group::B); });
    connect(cmdNoGroup, &QPushButton::clicked, this, [this] { groupChosen(Group::None); });
    connect(cboQuantity, &QComboBox::currentIndexChanged, this, &frmCompare::redrawChart);
    connect(optNormalised, &QRadioButton::toggled, this, &frmCompare::redrawChart);
    connect(chkBodyWeights, &QCheckBox::toggled, this, &frmCompare::redrawChart);
    connect(chkIndividual, &QCheckBox::toggled, this, &frmCompare::redrawChart);
    connect(chkAllContacts, &QCheckBox::toggled, this, &frmCompare::fillTable);
    connect(txtThreshold, &QDoubleSpinBox::valueChanged, this, &frmCompare::refresh);
    connect(txtLowPass, &QLineEdit::editingFinished, this, &frmCompare::lowPassEdited);
    connect(chart, &CompareChart::highlightChanged, this, [this](const QString& name) {
        lblCurve->setText(name.isEmpty() ? QString() : "Curve: " + name);
        chart->setAccessibleDescription(name.isEmpty() ? "Up and Down step through the curves"
                                                       : "Curve: " + name);
    });
    connect(cmdSaveTable, &QPushButton::clicked, this, &frmCompare::saveTable);
    connect(cmdSaveCurves, &QPushButton::clicked, this, &frmCompare::saveCurves);
    connect(cmdSavePicture, &QPushButton::clicked, this, &frmCompare::savePicture);

    lstTrials->installEventFilter(this);
    m_saveTimer = new QTimer(this);
    m_saveTimer->setSingleShot(true);
    m_saveTimer->setInterval(1500);
    connect(m_saveTimer, &QTimer::timeout, this, &frmCompare::rememberChoice);
    resize(1150, 760);
}

frmCompare::~frmCompare()
{
    if (m_saveTimer->isActive())
        rememberChoice();
}

void frmCompare::closeEvent(QCloseEvent* event)
{
    rememberChoice();
    QWidget::closeEvent(event);
}

bool frmCompare::eventFilter(QObject* watched, QEvent* event)
{
    // A, B and N on the list group the selected trials, as the buttons do.
    if (watched == lstTrials && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!(key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))) {
            switch (key->key()) {
            case Qt::Key_A:
                groupChosen(Group::A);
                return true;
            case Qt::Key_B:
                groupChosen(Group::B);
                return true;
            case Qt::Key_N:
                groupChosen(Group::None);
                return true;
            default:
                break;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

frmCompare::Trial& frmCompare::trialOf(QTreeWidgetItem* item)
{
    return *m_trials[std::size_t(lstTrials->indexOfTopLevelItem(item))];
}

QTreeWidgetItem* frmCompare::itemOf(const QString& file) const
{
    for (const auto& t : m_trials)
        if (t->file == file)
            return t->item;
    return nullptr;
}

QTreeWidgetItem* frmCompare::addRow(const QString& file, const QString& path, bool checked,
                                    Group group)
{
    auto trial = std::make_unique<Trial>();
    trial->file = file;
    trial->path = path;
    trial->group = group;
    auto* item = new QTreeWidgetItem({file, groupName(group), QString()});
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(ColTrial, checked ? Qt::Checked : Qt::Unchecked);
    item->setToolTip(ColTrial, QDir::toNativeSeparators(path));
    trial->item = item;
    m_trials.push_back(std::move(trial));
    lstTrials->addTopLevelItem(item);
    return item;
}

void frmCompare::openDirectory(const QString& dir)
{
    if (!m_dir.isEmpty())
        rememberChoice();
    m_dir = dir;
    m_filling = true;
    lstTrials->clear();
    m_trials.clear();
    QStringList names;
    for (const QString& name : QDir(dir).entryList(QDir::Files | QDir::Readable | QDir::Hidden))
        if (isForceFileName(name.toStdString()))
            names << name;
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    for (const QString& name : names)
        addRow(name, QDir(dir).filePath(name), false, Group::None);
    const QString remembered = m_platform.settings.get(
        SettingsApp, SettingsSection, QString::fromStdString(choiceKey(dir.toStdString())), {});
    for (const Choice& c : choiceFromText(remembered.toStdString())) {
        const QString file = QString::fromStdString(c.file);
        QTreeWidgetItem* item = itemOf(file);
        if (!item) {
            // A trial added from elsewhere; a name of this directory that has gone is not.
            if (!QFileInfo(file).isAbsolute())
                continue;
            item = addRow(file, file, false, Group::None);
        }
        item->setCheckState(ColTrial, c.checked ? Qt::Checked : Qt::Unchecked);
        trialOf(item).group = c.group;
        item->setText(ColGroup, groupName(c.group));
    }
    m_filling = false;
    lstTrials->resizeColumnToContents(ColTrial);
    applyFilter();
    refresh();
}

void frmCompare::addFiles(const QStringList& paths)
{
    m_filling = true;
    QTreeWidgetItem* last = nullptr;
    for (const QString& given : paths) {
        const QString path = QFileInfo(given).absoluteFilePath();
        // A file of the data directory is named as the directory's list names it.
        const QString file = QFileInfo(path).absolutePath() == QFileInfo(m_dir).absoluteFilePath()
                                 ? QFileInfo(path).fileName()
                                 : path;
        QTreeWidgetItem* item = itemOf(file);
        if (!item)
            item = addRow(file, path, true, Group::None);
        item->setCheckState(ColTrial, Qt::Checked);
        item->setHidden(false);
        last = item;
    }
    m_filling = false;
    if (last)
        lstTrials->setCurrentItem(last);
    refresh();
}

void frmCompare::setChecked(const QString& file, bool checked)
{
    if (QTreeWidgetItem* item = itemOf(file))
        item->setCheckState(ColTrial, checked ? Qt::Checked : Qt::Unchecked);
}

void frmCompare::setGroup(const QString& file, Group group)
{
    if (QTreeWidgetItem* item = itemOf(file)) {
        trialOf(item).group = group;
        item->setText(ColGroup, groupName(group));
        refresh();
    }
}

void frmCompare::groupChosen(Group group)
{
    QList<QTreeWidgetItem*> items = lstTrials->selectedItems();
    if (items.isEmpty() && lstTrials->currentItem())
        items << lstTrials->currentItem();
    m_filling = true;
    for (QTreeWidgetItem* item : items) {
        trialOf(item).group = group;
        item->setText(ColGroup, groupName(group));
    }
    m_filling = false;
    refresh();
}

void frmCompare::applyFilter()
{
    const std::string filter = txtFilter->text().toStdString();
    for (const auto& t : m_trials)
        t->item->setHidden(!nameMatches(t->item->text(ColTrial).toStdString(), filter) &&
                           !nameMatches(QFileInfo(t->path).fileName().toStdString(), filter));
}

std::optional<double> frmCompare::lowPassHz() const
{
    const QString text = txtLowPass->text().trimmed();
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double fc = text.toDouble(&ok);
    if (!ok || forcedata::cutoffProblem(fc))
        return std::nullopt;
    return fc;
}

void frmCompare::lowPassEdited()
{
    const QString text = txtLowPass->text().trimmed();
    bool ok = false;
    const double fc = text.toDouble(&ok);
    const auto problem = forcedata::cutoffProblem(ok ? fc : std::nan(""));
    if (!text.isEmpty() && problem) {
        // Refused at entry: the box empties and says why.
        m_platform.dialogs.message(QString::fromStdString(*problem), CompareTitle,
                                   MessageIcon::Exclamation, MessageButtons::OK);
        txtLowPass->clear();
    }
    refresh();
}

void frmCompare::prepare(Trial& t)
{
    const double threshold = txtThreshold->value();
    const std::optional<double> fc = lowPassHz();
    if (t.prepared && t.threshold == threshold && t.lowPass == fc)
        return;
    t.prepared = true;
    t.threshold = threshold;
    t.lowPass = fc;
    const std::string file = t.file.toStdString();

    if (!t.read) {
        t.read = true;
        FileByteSource source;
        if (const int16_t error = source.open(t.path.toStdString())) {
            t.readProblem = QString::fromStdString(fileErrorText(error));
        } else {
            t.table = std::make_unique<ForceTable>();
            if (readRf(source, *t.table) == RfReadResult::Empty || source.readFailed())
                t.readProblem = QString::fromUtf8(RfWarningEmpty.data(), RfWarningEmpty.size());
        }
        if (!t.readProblem.isEmpty())
            t.table.reset();
    }
    if (!t.table) {
        static_cast<TrialCurves&>(t) = TrialCurves{};
        t.note = t.readProblem.toStdString();
        t.rowsFirst = t.rowsAll = forcedata::csvProblemRow(file, t.note);
        return;
    }
    static_cast<TrialCurves&>(t) = trialCurves(file, *t.table, threshold, fc);
}

std::vector<const frmCompare::Trial*> frmCompare::checkedTrials() const
{
    std::vector<const Trial*> out;
    for (const auto& t : m_trials)
        if (t->item->checkState(ColTrial) == Qt::Checked)
            out.push_back(t.get());
    return out;
}

void frmCompare::refresh()
{
    m_filling = true;
    for (const auto& t : m_trials) {
        if (t->item->checkState(ColTrial) == Qt::Checked)
            prepare(*t);
        const bool shown = t->prepared && t->item->checkState(ColTrial) == Qt::Checked;
        const QString note = shown ? QString::fromStdString(t->note) : QString();
        if (t->item->text(ColNote) != note) {
            t->item->setText(ColNote, note);
            t->item->setToolTip(ColNote, note);
        }
        // A trial the filter cannot apply to is greyed, the reason in its tooltip.
        t->item->setForeground(ColNote, shown && t->lowPassRefused
                                            ? palette().color(QPalette::Disabled, QPalette::Text)
                                            : palette().color(QPalette::Text));
    }
    m_filling = false;
    redrawChart();
    fillTable();
    // The settings file is written after a pause, not at every click of a quick series.
    m_saveTimer->start();
}

void frmCompare::showRowNote(QTreeWidgetItem* item)
{
    if (item)
        lstTrials->setCurrentItem(item);
}

void frmCompare::rememberChoice()
{
    m_saveTimer->stop();
    if (m_dir.isEmpty())
        return;
    std::vector<Choice> choices;
    for (const auto& t : m_trials) {
        const bool checked = t->item->checkState(ColTrial) == Qt::Checked;
        if (checked || t->group != Group::None)
            choices.push_back({t->file.toStdString(), checked, t->group});
    }
    const QString key = QString::fromStdString(choiceKey(m_dir.toStdString()));
    const QString text = QString::fromStdString(choiceText(choices));
    if (m_platform.settings.get(SettingsApp, SettingsSection, key, {}) != text)
        m_platform.settings.save(SettingsApp, SettingsSection, key, text);
}

frmCompare* compareWindow()
{
    return theWindow();
}

frmCompare* showCompare(SharedState& state, Platform& platform)
{
    frmCompare* w = theWindow();
    if (!w) {
        w = new frmCompare(state, platform);
        w->setAttribute(Qt::WA_QuitOnClose, false);
        w->setAttribute(Qt::WA_DeleteOnClose);
        theWindow() = w;
    }
    w->openDirectory(state.DataDir);
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}
