#include "forcedata/c3d/frmImportC3D.h"
#include "core/SharedState.h"
#include "platform/FileErrors.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <functional>

namespace
{

const QString WindowTitle = QStringLiteral("Import C3D force plates");

QString metres(double value, int decimals = 2)
{
    return QString::number(value, 'f', decimals);
}

bool loaded(const c3d::PlateInfo& p)
{
    return p.problem.empty() && p.peakFz >= c3d::DefaultThreshold;
}

QString plateText(const c3d::PlateInfo& p)
{
    QString text = QString("Plate %1   type %2   ").arg(p.number).arg(p.type);
    if (!p.problem.empty())
        return text + "cannot be read: " + QString::fromStdString(p.problem);
    text += QString("%1 samples   %2 Hz   ").arg(p.samples).arg(p.rate, 0, 'g', 6);
    text +=
        loaded(p)
            ? QString("peak Fz %1 N at %2 s").arg(p.peakFz, 0, 'f', 1).arg(p.peakTime, 0, 'f', 3)
            : QString("no load (peak Fz %1 N)").arg(p.peakFz, 0, 'f', 1);
    text += QString("   centre %1, %2 m   %3 x %4 m")
                .arg(metres(p.centre[0]), metres(p.centre[1]), metres(p.width), metres(p.depth));
    return text;
}

QString plateDetails(const c3d::PlateInfo& p)
{
    QString text = QString("Plate %1: type %2, %3")
                       .arg(p.number)
                       .arg(p.type)
                       .arg(QString::fromStdString(c3d::typeInWords(p.type)));
    if (!p.problem.empty())
        return text + "\nIt cannot be read: " + QString::fromStdString(p.problem);
    text += QString("\nCentre x %1 m, y %2 m, z %3 m (laboratory axes, Z up); %4 m by %5 m")
                .arg(metres(p.centre[0], 3), metres(p.centre[1], 3), metres(p.centre[2], 3),
                     metres(p.width, 3), metres(p.depth, 3));
    text += QString("\nPeak Fz %1 N at %2 s (sample %3)")
                .arg(p.peakFz, 0, 'f', 1)
                .arg(p.peakTime, 0, 'f', 3)
                .arg(p.peakSample);
    if (!p.senseNote.empty())
        text += "\nSigns: " + QString::fromStdString(p.senseNote);
    return text;
}

// The plates seen from above, X to the right and Y up, the chosen one filled; a
// click chooses a plate.
class PlatePlan : public QWidget
{
public:
    PlatePlan(QWidget* parent, std::function<void(int)> choose)
        : QWidget(parent), m_choose(std::move(choose))
    {
        setObjectName("picPlan");
        setAccessibleName("Plan of the plates");
        setAccessibleDescription("The plates seen from above, X to the right and Y up; the "
                                 "chosen plate is filled");
        setMinimumSize(220, 150);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    }
    void setPlates(const std::vector<c3d::PlateInfo>* plates) { m_plates = plates; }
    void setChosen(int row)
    {
        m_chosen = row;
        update();
    }
    QSize sizeHint() const override { return {240, 170}; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(rect(), palette().base());
        painter.setPen(palette().mid().color());
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        if (!m_plates)
            return;
        const QTransform t = transform();
        for (std::size_t i = 0; i < m_plates->size(); ++i) {
            const c3d::PlateInfo& p = (*m_plates)[i];
            if (!p.problem.empty())
                continue;
            QPolygonF shape;
            for (const c3d::Vec3& c : p.corners)
                shape << t.map(QPointF(c[0], c[1]));
            const bool chosen = static_cast<int>(i) == m_chosen;
            painter.setPen(QPen(palette().text().color(), chosen ? 2 : 1));
            painter.setBrush(chosen ? palette().highlight() : palette().button());
            painter.drawPolygon(shape);
            painter.setPen(chosen ? palette().highlightedText().color()
                                  : palette().buttonText().color());
            painter.drawText(shape.boundingRect(), Qt::AlignCenter, QString::number(p.number));
        }
        painter.setPen(palette().text().color());
        painter.drawText(rect().adjusted(6, 0, 0, -4), Qt::AlignLeft | Qt::AlignBottom,
                         QString::fromUtf8("Y \u2191  X \u2192  (from above)"));
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        if (!m_plates)
            return;
        const QTransform t = transform();
        for (std::size_t i = 0; i < m_plates->size(); ++i) {
            QPolygonF shape;
            for (const c3d::Vec3& c : (*m_plates)[i].corners)
                shape << t.map(QPointF(c[0], c[1]));
            if ((*m_plates)[i].problem.empty() &&
                shape.containsPoint(event->position(), Qt::OddEvenFill))
                m_choose(static_cast<int>(i));
        }
    }

private:
    // Laboratory metres to the widget, the same scale both ways, Y up.
    QTransform transform() const
    {
        double left = 0, right = 0, bottom = 0, top = 0;
        bool first = true;
        for (const c3d::PlateInfo& p : *m_plates)
            if (p.problem.empty())
                for (const c3d::Vec3& c : p.corners) {
                    left = first ? c[0] : std::min(left, c[0]);
                    right = first ? c[0] : std::max(right, c[0]);
                    bottom = first ? c[1] : std::min(bottom, c[1]);
                    top = first ? c[1] : std::max(top, c[1]);
                    first = false;
                }
        const QRectF box(QPointF(left, bottom), QPointF(right, top));
        const QRectF area = QRectF(rect()).adjusted(10, 10, -10, -26);
        const double scale = std::min(area.width() / std::max(box.width(), 1e-3),
                                      area.height() / std::max(box.height(), 1e-3));
        QTransform t;
        t.translate(area.center().x(), area.center().y());
        t.scale(scale, -scale);
        t.translate(-box.center().x(), -box.center().y());
        return t;
    }

    const std::vector<c3d::PlateInfo>* m_plates = nullptr;
    int m_chosen = -1;
    std::function<void(int)> m_choose;
};

} // namespace

frmImportC3D::frmImportC3D(SharedState& state, Platform& platform, QWidget* parent)
    : QDialog(parent), m_state(state), m_platform(platform)
{
    setObjectName("frmImportC3D");
    setWindowTitle(WindowTitle);
    setAccessibleName(WindowTitle);

    lblFile = new QLabel(this);
    lblFile->setObjectName("lblFile");
    lblFile->setAccessibleDescription("C3D file");
    lblPlates = new QLabel("&Plates:", this);
    lstPlates = new QListWidget(this);
    lstPlates->setObjectName("lstPlates");
    lstPlates->setAccessibleName("Plates");
    lblPlates->setBuddy(lstPlates);
    lblPlate = new QLabel(this);
    lblPlate->setObjectName("lblPlate");
    lblPlate->setAccessibleName("Chosen plate");
    lblPlate->setWordWrap(true);
    lblPlate->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    lblPlate->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* plan = new PlatePlan(this, [this](int row) { lstPlates->setCurrentRow(row); });
    picPlan = plan;
    lblNote = new QLabel(this);
    lblNote->setObjectName("lblNote");
    lblNote->setAccessibleDescription("Note");
    lblNote->setWordWrap(true);
    lblNote->hide();
    lblRecords = new QLabel(this);
    lblRecords->setObjectName("lblRecords");
    lblRecords->setAccessibleName("Records to write");
    lblRecords->setWordWrap(true);
    lblOutput = new QLabel("&Force file:", this);
    txtOutput = new QLineEdit(this);
    txtOutput->setObjectName("txtOutput");
    txtOutput->setAccessibleName("Force file");
    lblOutput->setBuddy(txtOutput);
    pbarConvert = new QProgressBar(this);
    pbarConvert->setObjectName("pbarConvert");
    pbarConvert->setAccessibleName("Progress");
    pbarConvert->setRange(0, 100);
    pbarConvert->setValue(0);
    cmdImportAll = new QPushButton("Import &every loaded plate", this);
    cmdImportAll->setObjectName("cmdImportAll");
    cmdImportAll->setAccessibleName("Import every loaded plate");
    cmdImportAll->setAccessibleDescription("Writes each plate with a load to its own force file, "
                                           "named after the C3D file with _P and the plate number");
    cmdImport = new QPushButton("&Import", this);
    cmdImport->setObjectName("cmdImport");
    cmdImport->setDefault(true);
    cmdCancel = new QPushButton("Cancel", this);
    cmdCancel->setObjectName("cmdCancel");

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdImportAll);
    buttons->addStretch();
    buttons->addWidget(cmdImport);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblFile);
    layout->addWidget(lblPlates);
    layout->addWidget(lstPlates, 1);
    auto* chosen = new QHBoxLayout;
    chosen->addWidget(lblPlate, 1);
    chosen->addWidget(picPlan);
    layout->addLayout(chosen, 1);
    layout->addWidget(lblNote);
    layout->addWidget(lblRecords);
    layout->addWidget(lblOutput);
    layout->addWidget(txtOutput);
    layout->addWidget(pbarConvert);
    layout->addLayout(buttons);
    resize(760, 520);

    connect(lstPlates, &QListWidget::currentRowChanged, this, &frmImportC3D::lstPlates_Change);
    connect(cmdImport, &QPushButton::clicked, this, [this] {
        if (cmdImport_Click())
            accept();
    });
    connect(cmdImportAll, &QPushButton::clicked, this, [this] {
        if (cmdImportAll_Click())
            accept();
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmImportC3D::~frmImportC3D() = default;

void frmImportC3D::fail(const QString& reason)
{
    m_platform.dialogs.message("Cannot import " + QFileInfo(m_path).fileName() + ":" + m_state.LF +
                                   reason,
                               WindowTitle, MessageIcon::Critical, MessageButtons::OK);
}

void frmImportC3D::progress(double fraction)
{
    pbarConvert->setValue(static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * 100)));
    m_platform.events.yield();
}

bool frmImportC3D::Load(const QString& c3dPath)
{
    m_path = c3dPath;
    lblFile->setText(QDir::toNativeSeparators(c3dPath));
    m_bytes = std::make_unique<c3d::FileBytes>();
    if (const int error = m_bytes->open(c3dPath.toStdString()); error != FileError::None) {
        fail(QString::fromStdString(fileErrorText(error)));
        return false;
    }
    m_platform.events.setBusy(true);
    try {
        m_trial = c3d::openTrial(*m_bytes);
        m_plates = c3d::surveyPlates(*m_bytes, *m_trial, [this](double f) { progress(f); });
    } catch (const std::exception& e) {
        m_platform.events.setBusy(false);
        fail(QString::fromStdString(e.what()));
        return false;
    }
    m_platform.events.setBusy(false);
    pbarConvert->setValue(0);
    if (m_plates.empty()) {
        fail("the file has no force plates");
        return false;
    }
    static_cast<PlatePlan*>(picPlan)->setPlates(&m_plates);
    cmdImportAll->setEnabled(!c3d::loadedPlates(m_plates).empty());
    int best = 0;
    for (std::size_t i = 0; i < m_plates.size(); ++i) {
        lstPlates->addItem(plateText(m_plates[i]));
        if (m_plates[i].problem.empty() &&
            (!m_plates[best].problem.empty() || m_plates[i].peakFz > m_plates[best].peakFz))
            best = static_cast<int>(i);
    }
    lstPlates->setCurrentRow(best);
    lstPlates_Change();
    return true;
}

void frmImportC3D::lstPlates_Change()
{
    const int row = lstPlates->currentRow();
    if (row < 0 || !m_trial)
        return;
    QStringList notes;
    for (const std::string& note : m_trial->plates.plates[static_cast<std::size_t>(row)].notes)
        notes << QString::fromStdString(note);
    lblNote->setText(notes.join(m_state.LF));
    lblNote->setVisible(!notes.isEmpty());
    const c3d::PlateInfo& info = m_plates[static_cast<std::size_t>(row)];
    lblPlate->setText(plateDetails(info));
    static_cast<PlatePlan*>(picPlan)->setChosen(row);
    lblRecords->setText(
        info.problem.empty()
            ? QString::fromStdString(c3d::recordsSentence(info.samples, info.rate)) + "."
            : QString("Plate %1 cannot be imported.").arg(info.number));
    txtOutput->setText(QString::fromStdString(c3d::outputName(m_path.toStdString(), row + 1)));
}

std::optional<std::string> frmImportC3D::convert(int plate, double from, double span)
{
    c3d::ConvertOptions options;
    options.plate = plate;
    options.title = c3d::baseName(m_path.toStdString()) + " plate " + std::to_string(plate);
    try {
        const c3d::Conversion conversion =
            c3d::convertPlate(*m_bytes, *m_trial, options,
                              [this, from, span](double f) { progress(from + f * span); });
        return c3d::forceFileText(conversion);
    } catch (const std::exception& e) {
        fail(QString::fromStdString(e.what()));
        return std::nullopt;
    }
}

bool frmImportC3D::cmdImport_Click()
{
    const int row = lstPlates->currentRow();
    QString name = txtOutput->text().trimmed();
    if (!m_trial || row < 0) {
        fail("no plate is chosen");
        return false;
    }
    if (name.isEmpty() || name.contains('/') || name.contains('\\')) {
        fail("the force file needs a name (without a directory)");
        return false;
    }
    // Only force files are listed and read: a name without the extension gets it.
    if (!name.endsWith(".RF", Qt::CaseInsensitive)) {
        name += ".RF";
        txtOutput->setText(name);
    }
    const QString target = QDir(m_state.DataDir).filePath(name);
    if (QFileInfo::exists(target) || QFileInfo(target).isSymLink()) {
        fail(name + " exists already; choose another name");
        return false;
    }
    cmdImport->setEnabled(false);
    m_platform.events.setBusy(true);
    const std::optional<std::string> text = convert(row + 1, 0, 1);
    const int error = text ? c3d::writeNewFile(target.toStdString(), *text) : int(FileError::None);
    m_platform.events.setBusy(false);
    cmdImport->setEnabled(true);
    if (!text)
        return false;
    if (error != FileError::None) {
        fail(name + ": could not write: " + QString::fromStdString(fileErrorText(error)));
        return false;
    }
    pbarConvert->setValue(100);
    emit imported(name);
    return true;
}

bool frmImportC3D::cmdImportAll_Click()
{
    if (!m_trial)
        return false;
    const std::vector<int> plates = c3d::loadedPlates(m_plates);
    if (plates.empty()) {
        fail(QString("no plate carries a load of %1 N or more").arg(c3d::DefaultThreshold));
        return false;
    }
    QStringList names, existing;
    for (int plate : plates) {
        names << QString::fromStdString(c3d::outputName(m_path.toStdString(), plate, true));
        if (QFileInfo::exists(QDir(m_state.DataDir).filePath(names.back())))
            existing << names.back();
    }
    if (!existing.isEmpty()) {
        fail(existing.join(", ") + (existing.size() > 1 ? " exist" : " exists") +
             " already; nothing is written");
        return false;
    }
    cmdImportAll->setEnabled(false);
    m_platform.events.setBusy(true);
    std::vector<std::string> texts;
    const double span = 1.0 / static_cast<double>(plates.size());
    for (std::size_t i = 0; i < plates.size(); ++i) {
        std::optional<std::string> text = convert(plates[i], static_cast<double>(i) * span, span);
        if (!text)
            break;
        texts.push_back(std::move(*text));
    }
    int error = FileError::None;
    QString failed;
    for (std::size_t i = 0; texts.size() == plates.size() && i < texts.size(); ++i) {
        const QString target = QDir(m_state.DataDir).filePath(names[static_cast<int>(i)]);
        error = c3d::writeNewFile(target.toStdString(), texts[i]);
        if (error != FileError::None) {
            // All or nothing: the files already written are taken back.
            failed = names[static_cast<int>(i)];
            for (std::size_t j = 0; j < i; ++j)
                QFile::remove(QDir(m_state.DataDir).filePath(names[static_cast<int>(j)]));
            break;
        }
    }
    m_platform.events.setBusy(false);
    cmdImportAll->setEnabled(true);
    if (texts.size() != plates.size())
        return false;
    if (error != FileError::None) {
        fail(failed + ": could not write: " + QString::fromStdString(fileErrorText(error)) +
             "; nothing is written");
        return false;
    }
    pbarConvert->setValue(100);
    // The plate with the largest peak is the one chosen and read.
    std::size_t best = 0;
    for (std::size_t i = 0; i < plates.size(); ++i)
        if (m_plates[static_cast<std::size_t>(plates[i] - 1)].peakFz >
            m_plates[static_cast<std::size_t>(plates[best] - 1)].peakFz)
            best = i;
    emit imported(names[static_cast<int>(best)]);
    return true;
}
